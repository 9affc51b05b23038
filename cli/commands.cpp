#include "commands.h"

#include <cstdio>

#include "auto_sequence.h"
#include "chip_watch.h"
#include "fuse_model.h"
#include "fuse_transfer.h"
#include "identify.h"
#include "program_file_saver.h"
#include "programmer_ports.h"
#include "text_util.h"

namespace morsk::cli {

bool ParseHexByte(const std::string& text, uint8_t& out)
{
    if (text.empty() || text.size() > 2)
        return false;
    unsigned value = 0;
    for (char c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0)
            return false;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    out = static_cast<uint8_t>(value);
    return true;
}

namespace {

void PrintProfile(const AppState& app)
{
    const ChipProfile& p = app.profile;
    static const char* const kFamilies[] = {"AVR", "AT89", "NORDIC"};
    std::printf("loaded: %d\n", app.profileLoaded ? 1 : 0);
    std::printf("manufacturer: %s\n", p.manufacturer);
    std::printf("device: %s\n", p.deviceName);
    std::printf("family: %s\n", p.family < 3 ? kFamilies[p.family] : "?");
    std::printf("signature: %02X %02X %02X\n", p.signature[0], p.signature[1], p.signature[2]);
    std::printf("flash_size: %u\nflash_page: %u\n", p.flashSize, p.flashPageSize);
    std::printf("eeprom_size: %u\neeprom_page: %u\n", p.eepromSize, p.eepromPageSize);
    std::printf("fuses: %02X %02X %02X\n", p.fuseLow, p.fuseHigh, p.fuseExt);
    std::printf("fuse_defaults: %02X %02X %02X\n", p.fuseLowDefault, p.fuseHighDefault, p.fuseExtDefault);
    std::printf("lock: %02X\nlock_default: %02X\n", p.lock, p.lockDefault);
    std::printf("chip_line: %s\n", ChipLine(p, ChipLineStyle::StartUp).c_str());
}

bool ListAttached(Context& c)
{
    std::vector<ProgrammerPort> ports;
    std::string error;
    if (c.station.session().backend() && !ListProgrammers(*c.station.session().backend(), ports, error)) {
        std::fprintf(stderr, "morsk-cli: %s\n", error.c_str());
        return false;
    }
    if (ports.empty())
        std::fprintf(stderr, "no programmer attached\n");
    for (const ProgrammerPort& p : ports) {
        std::string access = "ok";
        if (p.openError == kUsbErrorAccess)
            access = "no permission: install data/60-morsk-programmer.rules (README, \"Access to the "
                     "programmer without root\")";
        else if (!p.canOpen)
            access = "cannot open: " + UsbErrorText(p.openError);
        std::printf("%s bus %03u address %03u %s\n", p.device.portPath.c_str(), p.device.busNumber,
                    p.device.address, access.c_str());
    }
    return true;
}

// "program RSTDISBL and unprogram SPIEN".
std::string EnglishRisks(const std::vector<FuseRisk>& risks)
{
    std::string text;
    for (size_t i = 0; i < risks.size(); ++i) {
        if (i)
            text += i + 1 == risks.size() ? " and " : ", ";
        if (risks[i].bit == "CKSEL3..0")
            text += "set CKSEL3..0 to 0000 (external clock)";
        else
            text += (risks[i].programs ? "program " : "unprogram ") + risks[i].bit;
    }
    return text;
}

// Status lines for a fuse transfer that did not go through.
bool FuseOutcome(Context& c, FuseTransfer result, const FuseChipId& id, const char* failedLine)
{
    switch (result) {
    case FuseTransfer::Done:
        return true;
    case FuseTransfer::NoProgrammer:
        c.app().AddStatusLine(kProgrammerInitFailedLine);
        break;
    case FuseTransfer::WrongChip:
        c.app().AddStatusLine(WrongChipLine(id.bytes));
        break;
    case FuseTransfer::NoAnswer:
        break;
    }
    c.app().AddStatusLine(failedLine);
    return false;
}


std::string CheckFuseBytes(const Arguments& args)
{
    uint8_t b;
    for (const std::string& a : args)
        if (!ParseHexByte(a, b))
            return "fuses-write: not a hexadecimal byte: " + a;
    return {};
}

std::string CheckSaveName(const Arguments& args)
{
    if (ProgramFileKindOf(args[0]) == ProgramFileKind::Unknown)
        return "save: the file name must end in .bin, .hex or .eep";
    return {};
}

bool ReadFuses(Context& c, const Arguments&)
{
    ChipProfile& p = c.app().profile;
    FuseChipId id;
    if (!FuseOutcome(c, ReadFuseBytes(p, c.app().failureCount, c.station.link(), &id), id, kFuseReadFailedLine))
        return false;
    std::printf("fuses: %02X %02X %02X\n", p.fuseLow, p.fuseHigh, p.fuseExt);
    return true;
}

bool WriteFuses(Context& c, const Arguments& a)
{
    ChipProfile& p = c.app().profile;
    // Compared with what an earlier fuses-read read, or else the list's
    // factory values.
    const uint8_t before[3] = {p.fuseLow, p.fuseHigh, p.fuseExt};
    uint8_t after[3];
    for (size_t i = 0; i < 3; ++i)
        ParseHexByte(a[i], after[i]);
    const std::vector<FuseRisk> risks = RiskyFuseChanges(p.deviceName, before, after);
    if (!risks.empty() && !c.force) {
        std::fprintf(stderr,
                     "morsk-cli: fuses not written: this write would %s, after which this programmer "
                     "may no longer reach the chip; add --force to write it anyway\n",
                     EnglishRisks(risks).c_str());
        return false;
    }
    p.fuseLow = after[0];
    p.fuseHigh = after[1];
    p.fuseExt = after[2];
    FuseChipId id;
    if (!FuseOutcome(c, WriteFuseBytes(p, c.station.link(), &id), id, kFuseWriteFailedLine))
        return false;
    std::printf("fuses written: %02X %02X %02X\n", p.fuseLow, p.fuseHigh, p.fuseExt);
    return true;
}

bool Save(Context& c, const Arguments& a)
{
    const bool ok = SaveProgramFile(a[0], c.app().buffer, c.app().profile) == SaveResult::Saved;
    if (!ok)
        std::fprintf(stderr, "morsk-cli: cannot write %s\n", a[0].c_str());
    return ok;
}

// Every MANUF/DEVICE of the list, as --chip takes it; for shell completion
// too.
bool ListChips(Context& c)
{
    std::vector<ManufacturerEntry> list;
    if (!ReadDeviceNames(c.app().paths.deviceList, list)) {
        std::fprintf(stderr, "morsk-cli: cannot read %s\n", c.app().paths.deviceList.c_str());
        return false;
    }
    for (const ManufacturerEntry& m : list)
        for (const std::string& d : m.devices)
            std::printf("%s/%s\n", m.name.c_str(), d.c_str());
    return true;
}

bool Backup(Context& c, const Arguments& a)
{
    return c.station.backups().BackupDevice(a[0]);
}

bool Restore(Context& c, const Arguments& a)
{
    ChipBackupOperations& backups = c.station.backups();
    const RestoreResult result = backups.RestoreDevice(a[0], c.force);
    if (result == RestoreResult::NeedsConsent) {
        std::string what;
        if (!backups.risks().empty())
            what = "its fuses would " + EnglishRisks(backups.risks()) +
                   ", after which this programmer may no longer reach the chip";
        if (backups.lockWouldProtect())
            what += (what.empty() ? "" : "; ") +
                    Format("its lock byte %02X would keep the chip from being %s again", backups.lockToWrite(),
                           (backups.lockToWrite() & kLockBitLb2) ? "written" : "read or written");
        std::fprintf(stderr, "morsk-cli: restore not started, nothing written: %s; add --force to restore it anyway\n",
                     what.c_str());
    }
    return result == RestoreResult::Done;
}

// One line per chip until a stop request; the status lines of each run go
// to the log, not the terminal. True when no chip failed. The session
// counts for itself: the window's 8-bit counters wrap after 255 chips.
bool Watch(Context& c, const Arguments&)
{
    ChipWatch watch(c.station, c.production);
    AppState& app = c.app();
    c.ui.quiet = true;
    std::fputs(Translate("等待器件...\n").c_str(), stdout);
    std::fflush(stdout);
    unsigned long passed = 0, failed = 0;
    while (!app.link.CancelRequested()) {
        const WatchEvent event = watch.Poll();
        passed += event.kind == WatchEvent::Kind::Passed;
        failed += event.kind == WatchEvent::Kind::Failed;
        const std::string line = WatchLine(event, app);
        if (!line.empty()) {
            std::printf("%s\n", Translate(line).c_str());
            std::fflush(stdout);
        }
        // The pause between polls ends early for a stop request.
        for (unsigned waited = 0; waited < kWatchPollMs && !app.link.CancelRequested(); waited += 10)
            SleepMilliseconds(10);
    }
    c.ui.quiet = false;
    std::fputs(Translate(Format("已停止: 成功 %lu, 失败 %lu\n", passed, failed)).c_str(), stdout);
    return failed == 0;
}

// An operation of the chip.
template <bool (ChipOperations::*operation)()>
bool Operation(Context& c, const Arguments&)
{
    return (c.station.ops().*operation)();
}

}  // namespace

bool IdentifyAndSelect(Context& c, bool select)
{
    const IdentifyResult found = IdentifyChipInSocket(c.app());
    if (!found.programmerStarted) {
        c.app().AddStatusLine(kProgrammerInitFailedLine);
        return false;
    }
    if (!found.signatureRead) {
        c.app().AddStatusLine("找不到器件!");
        return false;
    }
    const uint8_t* id = found.signature;
    if (found.matches.empty()) {
        std::fprintf(stderr, "morsk-cli: signature %02X %02X %02X is not in the device list\n", id[0], id[1], id[2]);
        return false;
    }
    if (!select) {
        for (const ChipMatch& m : found.matches)
            std::printf("%s/%s\n", m.manufacturer.c_str(), m.device.c_str());
        return true;
    }
    if (found.matches.size() > 1) {
        std::string names;
        for (const ChipMatch& m : found.matches)
            names += " " + m.manufacturer + "/" + m.device;
        std::fprintf(stderr, "morsk-cli: --chip auto: signature %02X %02X %02X fits several chips:%s; name one\n",
                     id[0], id[1], id[2], names.c_str());
        return false;
    }
    AppState& app = c.app();
    app.profileLoaded = LoadChipProfile(app.profile, app.paths.deviceList, found.matches[0].manufIndex,
                                        found.matches[0].deviceIndex, *app.notifier) == 1;
    ClearImages(app.buffer, app.profile, ClearSelector::All);
    RefreshChecksum(app);
    std::printf("chip: %s/%s\n", found.matches[0].manufacturer.c_str(), found.matches[0].device.c_str());
    return app.profileLoaded;
}

const std::vector<CommandSpec>& CommandSpecs()
{
    static const std::vector<CommandSpec> specs = {
        {"programmers", 0, false, nullptr, [](Context& c, const Arguments&) { return ListAttached(c); }},
        {"chips", 0, false, nullptr, [](Context& c, const Arguments&) { return ListChips(c); }},
        {"profile", 0, false, nullptr, [](Context& c, const Arguments&) {
             PrintProfile(c.app());
             return true;
         }},
        {"checksum", 0, false, nullptr, [](Context& c, const Arguments&) {
             std::printf("%s\n", c.ui.fileLine.c_str());
             return true;
         }},
        {"erase", 0, true, nullptr, Operation<&ChipOperations::EraseDevice>},
        {"blank", 0, true, nullptr, Operation<&ChipOperations::BlankCheckDevice>},
        {"program", 0, true, nullptr, [](Context& c, const Arguments& a) {
             return (!c.run || c.run->TakeSerial()) && Operation<&ChipOperations::ProgramDevice>(c, a);
         }},
        {"read", 0, true, nullptr, Operation<&ChipOperations::ReadDevice>},
        {"verify", 0, true, nullptr, Operation<&ChipOperations::VerifyDevice>},
        {"auto", 0, true, nullptr, [](Context& c, const Arguments&) {
             const bool ok = c.run ? RunNumberedAuto(*c.run, c.app(), c.station.link())
                                   : RunAuto(c.app(), c.station.link());
             std::printf("success: %u\nfailure: %u\n", c.app().successCount, c.app().failureCount);
             return ok;
         }},
        {"fuses-read", 0, true, nullptr, ReadFuses},
        {"fuses-write", 3, true, CheckFuseBytes, WriteFuses},
        {"save", 1, false, CheckSaveName, Save},
        {"backup", 1, true, nullptr, Backup},
        {"restore", 1, true, nullptr, Restore},
        {"watch", 0, true, nullptr, Watch},
        {"identify", 0, true, nullptr, [](Context& c, const Arguments&) { return IdentifyAndSelect(c, false); }, true},
    };
    return specs;
}

const CommandSpec* FindCommandSpec(const std::string& name)
{
    for (const CommandSpec& spec : CommandSpecs())
        if (name == spec.name)
            return &spec;
    return nullptr;
}

}  // namespace morsk::cli
