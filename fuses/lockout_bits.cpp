#include "lockout_bits.h"

#include <algorithm>
#include <map>

namespace morsk {
namespace {

constexpr int kLow = 0;
constexpr int kHigh = 1;
constexpr int kExt = 2;

using P = FuseBitPosition;

const std::map<std::string, LockoutBits>& Table()
{
    // {RSTDISBL, DWEN, SPIEN, CKSEL3..0 in the low byte}
    static const std::map<std::string, LockoutBits> table = [] {
        std::map<std::string, LockoutBits> t;
        const auto put = [&t](std::initializer_list<const char*> names, LockoutBits bits) {
            for (const char* name : names)
                t.emplace(name, bits);
        };
        put({"ATMEGA8"}, {P{kHigh, 7}, std::nullopt, P{kHigh, 5}, true});
        put({"ATMEGA48", "ATMEGA88", "ATMEGA168", "ATMEGA328P"}, {P{kHigh, 7}, P{kHigh, 6}, P{kHigh, 5}, true});
        put({"ATMEGA16", "ATMEGA32", "ATMEGA64", "ATMEGA128", "ATMEGA162", "ATMEGA164", "ATMEGA165",
             "ATMEGA169", "ATMEGA8515", "ATMEGA8535", "ATMEGA640", "ATMEGA644", "ATMEGA1280", "ATMEGA1281",
             "ATMEGA2560", "ATMEGA2561", "AT90CAN128"},
            {std::nullopt, std::nullopt, P{kHigh, 5}, true});
        put({"ATMEGA325", "ATMEGA3250", "ATMEGA645", "ATMEGA6450"}, {P{kExt, 0}, std::nullopt, P{kHigh, 5}, true});
        // The older parts: SPIEN cannot be changed in serial mode, but the
        // clock can.
        put({"ATMEGA163", "ATMEGA323"}, {std::nullopt, std::nullopt, std::nullopt, true});
        put({"ATTINY13"}, {P{kHigh, 0}, P{kHigh, 3}, P{kLow, 7}, false});
        put({"ATTINY2313"}, {P{kHigh, 0}, P{kHigh, 7}, P{kHigh, 5}, true});
        put({"ATTINY25", "ATTINY45", "ATTINY85"}, {P{kHigh, 7}, P{kHigh, 6}, P{kHigh, 5}, true});
        put({"ATTINY26"}, {P{kHigh, 4}, std::nullopt, P{kHigh, 3}, true});
        put({"ATTINY12"}, {P{kLow, 4}, std::nullopt, P{kLow, 5}, true});
        put({"ATTINY15"}, {P{kLow, 4}, std::nullopt, P{kLow, 5}, false});
        return t;
    }();
    return table;
}

bool Programmed(const uint8_t fuses[3], const FuseBitPosition& p)
{
    return !(fuses[p.byte] >> p.bit & 1);
}

bool ExternalClock(const uint8_t fuses[3])
{
    return (fuses[kLow] & 0x0F) == 0;
}

}  // namespace

const LockoutBits& LockoutBitsFor(const std::string& deviceName)
{
    static const LockoutBits none;
    const auto it = Table().find(deviceName);
    return it == Table().end() ? none : it->second;
}

std::vector<FuseRisk> RiskyFuseChanges(const std::string& deviceName, const uint8_t before[3],
                                       const uint8_t after[3])
{
    const LockoutBits& bits = LockoutBitsFor(deviceName);
    struct Candidate {
        const char* name;
        const std::optional<FuseBitPosition>& where;
        bool programs;
    };
    const Candidate candidates[] = {
        {"RSTDISBL", bits.rstdisbl, true}, {"DWEN", bits.dwen, true}, {"SPIEN", bits.spien, false}};
    std::vector<std::pair<int, FuseRisk>> found;  // sorted by byte, then bit 7 first
    for (const Candidate& c : candidates) {
        if (!c.where)
            continue;
        const bool was = Programmed(before, *c.where);
        const bool is = Programmed(after, *c.where);
        if (c.programs ? (!was && is) : (was && !is))
            found.push_back({c.where->byte * 8 + (7 - c.where->bit), {c.name, c.programs}});
    }
    if (bits.ckselExternalClock && !ExternalClock(before) && ExternalClock(after))
        found.push_back({kLow * 8 + 4, {"CKSEL3..0", true}});
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<FuseRisk> risks;
    for (auto& f : found)
        risks.push_back(std::move(f.second));
    return risks;
}

bool FusesLockOut(const std::string& deviceName, const uint8_t fuses[3])
{
    const LockoutBits& bits = LockoutBitsFor(deviceName);
    return (bits.rstdisbl && Programmed(fuses, *bits.rstdisbl)) || (bits.dwen && Programmed(fuses, *bits.dwen)) ||
           (bits.spien && !Programmed(fuses, *bits.spien)) || (bits.ckselExternalClock && ExternalClock(fuses));
}

std::string DescribeRisks(const std::vector<FuseRisk>& risks)
{
    std::string changes;
    for (const FuseRisk& r : risks) {
        if (!changes.empty())
            changes += "、";
        if (r.bit == "CKSEL3..0")
            changes += "把 CKSEL3..0 设为 0000 (外部时钟)";
        else
            changes += (r.programs ? "编程 " : "取消编程 ") + r.bit;
    }
    return changes;
}

}  // namespace morsk
