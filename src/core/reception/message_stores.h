#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/at/modem_log.h"
#include "core/at/modem_reply.h"

namespace kv820 {

class ComPort;

// Where a modem keeps received messages: "SM" (the SIM), "ME" (the modem's own memory),
// "MT" (both), and the stores each "at+cpms" position offers.
struct MessageStores {
    // The store reads, deletes and new messages use while the session runs; empty when the
    // modem would not say (a modem without "at+cpms"): commands then go to its default.
    std::string inUse;
    // Every store that may hold received messages, listed when a session catches up.
    std::vector<std::string> listed;
    // The store reads and deletes go to at this moment: another one only for as long as a
    // message announced or listed there is handled.
    std::string selected;
};

// The stores each position of "at+cpms=?" offers ("+CPMS: (\"SM\",\"ME\"),(...),(...)"):
// reading and deleting, writing and sending, receiving. A modem that gives one store per
// position without parentheses is read the same way. Empty when the reply has none.
std::vector<std::vector<std::string>> offeredStoresFromReply(const ModemReply& reply);

// The stores a session sets for the three positions: the SIM wherever it is offered,
// otherwise the first store the position offers that can hold received messages.
std::vector<std::string> chosenStores(const std::vector<std::vector<std::string>>& offered);

// Which stores may hold received messages among those offered for reading: "SM" and "ME";
// "MT" only when the modem offers neither (it is the two together). Broadcast ("BM") and
// status-report ("SR") stores never hold a report.
std::vector<std::string> storesToList(const std::vector<std::string>& offeredForReading);

// One store's use in an "at+cpms?" reply.
struct StoreUse {
    std::string store;
    int used = 0;
    int total = 0;
    bool operator==(const StoreUse&) const = default;
};

// Each store the "+CPMS: \"SM\",3,30,\"ME\",0,100,\"SM\",3,30" reply names, once, in order.
std::vector<StoreUse> storeUseFromReply(const ModemReply& reply);

// "at+cpms=\"ME\"": points reads and deletes at `store` (the other positions stay).
std::string selectReadStoreCommand(std::string_view store);

// Points reads and deletes at `store` when another one is selected, and logs the exchange.
// False when the modem refused: the commands would reach another message of that index.
bool pointReadsAt(ComPort& port, MessageStores& stores, const std::string& store,
                  const ModemLog& log);

// Asks the modem which stores it offers and sets them (see chosenStores). A modem that does
// not know "at+cpms" keeps its own stores: the session then reads where it is told to.
MessageStores setUpMessageStores(ComPort& port);

}  // namespace kv820
