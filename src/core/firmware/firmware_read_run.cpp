#include "core/firmware/firmware_read_run.h"

#include "core/firmware/firmware_image_reader.h"

namespace kv820 {

int FirmwareReadRun::run(const std::stop_token& stop, const ModemLog& line) {
    FirmwareImageReader reader(image_);
    int lines = 0;
    while (!stop.stop_requested()) {
        const auto block = reader.nextBlock();
        if (!block) {
            break;  // the end of the image: nothing more will ever come
        }
        line(*block);
        ++lines;
        clock_.sleepFor(PauseBetweenBlocks);
    }
    return lines;
}

}  // namespace kv820
