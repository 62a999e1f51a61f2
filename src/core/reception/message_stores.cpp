#include "core/reception/message_stores.h"

#include <algorithm>

#include "core/at/com_port.h"
#include "core/common/number_text.h"

namespace kv820 {

namespace {

constexpr std::string_view Sim = "SM";
constexpr std::string_view ModemMemory = "ME";
constexpr std::string_view Both = "MT";

bool has(const std::vector<std::string>& stores, std::string_view store) {
    return std::find(stores.begin(), stores.end(), store) != stores.end();
}

constexpr std::string_view Preference[] = {Sim, ModemMemory, Both};

// The quoted words of `text`, in order.
std::vector<std::string> quotedWords(std::string_view text) {
    std::vector<std::string> words;
    for (std::size_t open = text.find('"'); open != std::string_view::npos;) {
        const std::size_t close = text.find('"', open + 1);
        if (close == std::string_view::npos) {
            break;
        }
        words.emplace_back(text.substr(open + 1, close - open - 1));
        open = text.find('"', close + 1);
    }
    return words;
}

std::optional<std::string_view> informationOf(const ModemReply& reply) {
    return reply.ok() ? reply.lineAfter("+CPMS:") : std::nullopt;
}

std::vector<std::string_view> splitFields(std::string_view text) {
    std::vector<std::string_view> fields;
    for (std::size_t comma = text.find(','); comma != std::string_view::npos;
         comma = text.find(',')) {
        fields.push_back(text.substr(0, comma));
        text.remove_prefix(comma + 1);
    }
    fields.push_back(text);
    return fields;
}

}  // namespace

std::vector<std::vector<std::string>> offeredStoresFromReply(const ModemReply& reply) {
    const std::optional<std::string_view> offer = informationOf(reply);
    std::vector<std::vector<std::string>> positions;
    if (!offer) {
        return positions;
    }
    std::string_view rest = *offer;
    if (rest.find('(') == std::string_view::npos) {
        for (std::string& store : quotedWords(rest)) {
            positions.push_back({std::move(store)});
        }
        return positions;
    }
    for (std::size_t open = rest.find('('); open != std::string_view::npos; open = rest.find('(')) {
        const std::size_t close = rest.find(')', open);
        if (close == std::string_view::npos) {
            break;
        }
        positions.push_back(quotedWords(rest.substr(open, close - open)));
        rest.remove_prefix(close + 1);
    }
    return positions;
}

std::vector<std::string> chosenStores(const std::vector<std::vector<std::string>>& offered) {
    std::vector<std::string> chosen;
    for (const std::vector<std::string>& stores : offered) {
        // The SIM first; then one store rather than the two together.
        const auto preferred =
            std::find_if(std::begin(Preference), std::end(Preference),
                         [&](std::string_view store) { return has(stores, store); });
        if (preferred == std::end(Preference)) {
            break;  // a position without a usable store: the later ones are left alone too
        }
        chosen.emplace_back(*preferred);
    }
    return chosen;
}

std::vector<std::string> storesToList(const std::vector<std::string>& offeredForReading) {
    std::vector<std::string> listed;
    for (const std::string& store : offeredForReading) {
        if (store == Sim || store == ModemMemory) {
            listed.push_back(store);
        }
    }
    if (listed.empty() && has(offeredForReading, Both)) {
        listed.emplace_back(Both);
    }
    return listed;
}

std::vector<StoreUse> storeUseFromReply(const ModemReply& reply) {
    std::vector<StoreUse> uses;
    const std::optional<std::string_view> use = informationOf(reply);
    if (!use) {
        return uses;
    }
    // "SM",3,30,"ME",0,100,...: a quoted name and two numbers, three times at most.
    const std::vector<std::string_view> fields = splitFields(*use);
    for (std::size_t i = 0; i + 2 < fields.size(); i += 3) {
        const std::vector<std::string> name = quotedWords(fields[i]);
        const std::optional<std::int32_t> used = leadingInt32(fields[i + 1]);
        const std::optional<std::int32_t> total = leadingInt32(fields[i + 2]);
        if (name.size() != 1 || !used || !total || *used < 0 || *total <= 0 || *used > *total) {
            break;
        }
        if (std::none_of(uses.begin(), uses.end(),
                         [&](const StoreUse& u) { return u.store == name[0]; })) {
            uses.push_back(StoreUse{name[0], *used, *total});
        }
    }
    return uses;
}

std::string selectReadStoreCommand(std::string_view store) {
    return "at+cpms=\"" + std::string(store) + "\"";
}

bool pointReadsAt(ComPort& port, MessageStores& stores, const std::string& store,
                  const ModemLog& log) {
    // Without known stores every command goes to the modem's default one.
    const std::string& target = store.empty() ? stores.inUse : store;
    if (stores.inUse.empty() || stores.selected == target) {
        return true;
    }
    const ModemReply reply = port.exchange(selectReadStoreCommand(target), reply_timeout::Sim);
    if (log) {
        log(reply.text);
        log("\r\n");
    }
    if (!reply.ok()) {
        if (log) {
            log("The message store \"" + target + "\" could not be selected.\r\n");
        }
        return false;
    }
    stores.selected = target;
    return true;
}

MessageStores setUpMessageStores(ComPort& port) {
    MessageStores stores;
    const auto offered = offeredStoresFromReply(port.exchange("at+cpms=?", reply_timeout::Setting));
    const std::vector<std::string> chosen = chosenStores(offered);
    if (chosen.empty()) {
        return stores;
    }
    std::string command = "at+cpms=";
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        command += (i > 0 ? ",\"" : "\"") + chosen[i] + "\"";
    }
    if (!port.exchange(command, reply_timeout::Sim).ok()) {
        return stores;  // the modem keeps its own: nothing is known of where reads go
    }
    stores.inUse = stores.selected = chosen[0];
    stores.listed = storesToList(offered[0]);
    if (!has(stores.listed, stores.inUse)) {
        stores.listed.insert(stores.listed.begin(), stores.inUse);
    }
    return stores;
}

}  // namespace kv820
