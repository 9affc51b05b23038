#include "fuse_catalogue.h"

#include <map>
#include <sstream>

namespace morsk {
namespace {

// One layout per entry: its letter, its device names, and the four rows
// lock, low, high, extended, each written bit 7 first. A caption in
// parentheses is shown but disabled; "----" is always disabled.
struct LayoutText {
    char letter;
    std::vector<const char*> devices;
    const char* rows[kFuseRows];
};

constexpr const char* kNone = "---- ---- ---- ---- ---- ---- ---- ----";
constexpr const char* kLock = "---- ---- ---- ---- ---- ---- Lock2 Lock1";
constexpr const char* kBootLock = "---- ---- BLB12 BLB11 BLB02 BLB01 Lock2 Lock1";

const std::vector<LayoutText>& Layouts()
{
    static const std::vector<LayoutText> layouts = {
        {'A', {"ATTINY12"},
         {kLock, "BODLEVEL BODEN (SPIEN) (RSTDISBL) CKSEL3 CKSEL2 CKSEL1 CKSEL0", kNone, kNone}},
        {'B', {"ATTINY13"},
         {kLock, "(SPIEN) EESAVE WDTON CKDIV8 SUT1 SUT0 CKSEL1 CKSEL0",
          "---- ---- ---- SPMEN (DWEN) BODLEVEL1 BODLEVEL0 (RSTDISBL)", kNone}},
        {'C', {"ATTINY15"},
         {kLock, "BODLEVEL BODEN (SPIEN) (RSTDISBL) ---- ---- CKSEL1 CKSEL0", kNone, kNone}},
        {'D', {"ATTINY2313"},
         {kLock, "CKDIV8 CKOUT SUT1 SUT0 CKSEL3 CKSEL2 CKSEL1 CKSEL0",
          "DWEN EESAVE SPIEN WDTON BODLEVEL2 BODLEVEL1 BODLEVEL0 (RSTDISBL)",
          "---- ---- ---- ---- ---- ---- ---- SELFPRGEN"}},
        {'E', {"ATTINY26"},
         {kLock, "PLLCK CKOPT SUT1 SUT0 CKSEL3 CKSEL2 CKSEL1 CKSEL0",
          "---- ---- ---- (RSTDISBL) (SPIEN) EESAVE BODLEVEL BODEN", kNone}},
        {'F', {"ATTINY25", "ATTINY45", "ATTINY85"},
         {kLock, "CKDIV8 CKOUT SUT1 SUT0 CKSEL3 CKSEL2 CKSEL1 CKSEL0",
          "(RSTDISBL) DWEN SPIEN WDTON EESAVE BODLEVEL2 BODLEVEL1 BODLEVEL0",
          "---- ---- ---- ---- ---- ---- ---- SELFPRGEN"}},
        {'G', {"AT90S1200", "ATTINY22", "AT90S2343"},
         {kLock, "---- ---- ---- ---- ---- ---- ---- RCEN", kNone, kNone}},
        {'H', {"AT90S8515", "AT90S2313", "AT90S2323", "AT90S4414", "AT90S4434", "AT90S8535"},
         {kLock, "---- ---- ---- ---- ---- ---- ---- FSTRT", kNone, kNone}},
        {'I', {"AT90S2333", "AT90S4433"},
         {kLock, "---- ---- ---- BODLEVEL BODEN CKSEL2 CKSEL1 CKSEL0", kNone, kNone}},
        {'J', {"ATMEGA103", "ATMEGA603"},
         {kLock, "---- ---- ---- ---- EESAVE ---- SUT1 SUT0", kNone, kNone}},
        {'K', {"ATMEGA8515"},
         {kBootLock, "BODLEVEL BODEN SUT1 SUT0 CKSEL3 CKSEL2 CKSEL1 CKSEL0",
          "S8515C WDTON (SPIEN) CKOPT EESAVE BOOTSZ1 BOOTSZ0 BOOTRST", kNone}},
        {'L', {"ATMEGA8535"},
         {kBootLock, "BODLEVEL BODEN SUT1 SUT0 CKSEL3 CKSEL2 CKSEL1 CKSEL0",
          "S8535C WDTON (SPIEN) CKOPT EESAVE BOOTSZ1 BOOTSZ0 BOOTRST", kNone}},
        {'M', {"ATMEGA161"},
         {kBootLock, "---- BOOTRST ---- BODLEVEL BODEN CKSEL2 CKSEL1 CKSEL0", kNone, kNone}},
        {'N', {"ATMEGA162"},
         {kBootLock, "CKDIV8 CKOUT SUT1 SUT0 CKSEL3 CKSEL2 CKSEL1 CKSEL0",
          "OCDEN JTAGEN (SPIEN) WDTON EESAVE BOOTSZ1 BOOTSZ0 BOOTRST",
          "---- ---- ---- M161C BODLEVL2 BODLEVL1 BODLEVL0 ----"}},
        {'O', {"ATMEGA163"},
         {kBootLock, "BODLEVEL BODEN ---- ---- CKSEL3 CKSEL2 CKSEL1 CKSEL0",
          "---- ---- ---- ---- ---- BOOTSZ1 BOOTSZ0 BOOTRST", kNone}},
        {'P', {"ATMEGA164"},
         {kBootLock, "CKDIV8 CKOUT SUT1 SUT0 CKSEL3 CKSEL2 CKSEL1 CKSEL0",
          "OCDEN JTAGEN (SPIEN) WDTON EESAVE BOOTSZ1 BOOTSZ0 BOOTRST",
          "---- ---- ---- ---- ---- BODLEVL2 BODLEVL1 (BODLEVL0)"}},
        {'Q', {"ATMEGA165", "ATMEGA169"},
         {kBootLock, "CKDIV8 CKOUT SUT1 SUT0 CKSEL3 CKSEL2 CKSEL1 CKSEL0",
          "OCDEN JTAGEN (SPIEN) WDTON EESAVE BOOTSZ1 BOOTSZ0 BOOTRST",
          "---- ---- ---- ---- BODLEVL2 BODLEVL1 BODLEVL0 (RESERVED)"}},
        {'R', {"ATMEGA8"},
         {kBootLock, "BODLEVEL BODEN SUT1 SUT0 CKSEL3 CKSEL2 CKSEL1 CKSEL0",
          "(RSTDISBL) WDTON ---- CKOPT EESAVE BOOTSZ1 BOOTSZ0 BOOTRST", kNone}},
        {'S', {"ATMEGA16", "ATMEGA32"},
         {kBootLock, "BODLEVEL BODEN SUT1 SUT0 CKSEL3 CKSEL2 CKSEL1 CKSEL0",
          "OCDEN JTAGEN ---- CKOPT EESAVE BOOTSZ1 BOOTSZ0 BOOTRST", kNone}},
        {'T', {"ATMEGA323"},
         {kBootLock, "BODLEVEL BODEN ---- ---- CKSEL3 CKSEL2 CKSEL1 CKSEL0",
          "OCDEN JTAGEN ---- ---- EESAVE BOOTSZ1 BOOTSZ0 BOOTRST", kNone}},
        {'U', {"ATMEGA64", "ATMEGA128"},
         {kBootLock, "BODLEVEL BODEN SUT1 SUT0 CKSEL3 CKSEL2 CKSEL1 CKSEL0",
          "OCDEN JTAGEN ---- CKOPT EESAVE BOOTSZ1 BOOTSZ0 BOOTRST",
          "---- ---- ---- ---- ---- ---- M103C WDTON"}},
        {'V', {"ATMEGA48"},
         {kLock, "CKDIV8 CKOUT SUT1 SUT0 CKSEL3 CKSEL2 CKSEL1 CKSEL0",
          "(RSTDISBL) DWEN (SPIEN) WDTON EESAVE BODLEVEL2 BODLEVEL1 BODLEVEL0",
          "---- ---- ---- ---- ---- ---- ---- SELFPRGEN"}},
        {'W', {"ATMEGA88", "ATMEGA168"},
         {kBootLock, "CKDIV8 CKOUT SUT1 SUT0 CKSEL3 CKSEL2 CKSEL1 CKSEL0",
          "(RSTDISBL) DWEN (SPIEN) WDTON EESAVE BODLEVEL2 BODLEVEL1 BODLEVEL0",
          "---- ---- ---- ---- ---- BOOTSZ1 BOOTSZ0 BOOTRST"}},
        {'X', {"ATMEGA325", "ATMEGA3250", "ATMEGA645", "ATMEGA6450"},
         {kBootLock, "CKDIV8 CKOUT SUT1 SUT0 CKSEL3 CKSEL2 CKSEL1 CKSEL0",
          "OCDEN JTAGEN (SPIEN) WDTON EESAVE BOOTSZ1 BOOTSZ0 BOOTRST",
          "---- ---- ---- ---- ---- BODLEVL1 BODLEVL0 (RSTDISBL)"}},
        {'Y', {"ATMEGA640", "ATMEGA1280", "ATMEGA1281", "ATMEGA644", "ATMEGA2560", "ATMEGA2561"},
         {kBootLock, "CKDIV8 CKOUT SUT1 SUT0 CKSEL3 CKSEL2 CKSEL1 CKSEL0",
          "OCDEN JTAGEN (SPIEN) WDTON EESAVE BOOTSZ1 BOOTSZ0 BOOTRST",
          "---- ---- ---- ---- ---- BODLEVL2 BODLEVL1 BODLEVL0"}},
        {'Z', {"AT90CAN128"},
         {kBootLock, "CKDIV8 CKOUT SUT1 SUT0 CKSEL3 CKSEL2 CKSEL1 CKSEL0",
          "OCDEN JTAGEN (SPIEN) WDTON EESAVE BOOTSZ1 BOOTSZ0 BOOTRST",
          "---- ---- ---- ---- BODLEVL2 BODLEVL1 BODLEVL0 (TA0SEL)"}},
        // Ours, from the ATmega328P datasheet: the boot bits sit in the high
        // byte and BODLEVEL2..0 in the extended byte, unlike the ATMEGA168.
        // RSTDISBL and SPIEN are shown but locked, as in the neighbours.
        {'+', {"ATMEGA328P"},
         {kBootLock, "CKDIV8 CKOUT SUT1 SUT0 CKSEL3 CKSEL2 CKSEL1 CKSEL0",
          "(RSTDISBL) DWEN (SPIEN) WDTON EESAVE BOOTSZ1 BOOTSZ0 BOOTRST",
          "---- ---- ---- ---- ---- BODLEVEL2 BODLEVEL1 BODLEVEL0"}},
    };
    return layouts;
}

void ParseRow(const char* text, std::array<FuseSlot, 8>& row)
{
    std::istringstream words(text);
    for (int bit = 7; bit >= 0; --bit) {
        std::string word;
        words >> word;
        FuseSlot& slot = row[static_cast<size_t>(bit)];
        if (word.size() > 2 && word.front() == '(' && word.back() == ')') {
            slot = {word.substr(1, word.size() - 2), false};
        } else {
            slot = {word, word != "----"};
        }
    }
}

FuseLayout MakeBase()
{
    FuseLayout base;
    for (int row = 0; row < kFuseRows; ++row)
        ParseRow(row == kRowLock ? kLock : kNone, base.bits[static_cast<size_t>(row)]);
    return base;
}

struct Catalogue {
    FuseLayout base = MakeBase();
    std::map<std::string, FuseLayout> byName;
    std::vector<std::pair<std::string, char>> names;
};

const Catalogue& TheCatalogue()
{
    static const Catalogue catalogue = [] {
        Catalogue c;
        for (const LayoutText& text : Layouts()) {
            FuseLayout layout;
            layout.letter = text.letter;
            for (int row = 0; row < kFuseRows; ++row)
                ParseRow(text.rows[row], layout.bits[static_cast<size_t>(row)]);
            for (const char* name : text.devices) {
                c.byName.emplace(name, layout);
                c.names.emplace_back(name, text.letter);
            }
        }
        return c;
    }();
    return catalogue;
}

}  // namespace

const FuseLayout& BaseFuseLayout()
{
    return TheCatalogue().base;
}

const FuseLayout& FuseLayoutFor(const std::string& deviceName)
{
    const Catalogue& c = TheCatalogue();
    const auto it = c.byName.find(deviceName);
    return it == c.byName.end() ? c.base : it->second;
}

std::vector<std::pair<std::string, char>> FuseCatalogueNames()
{
    return TheCatalogue().names;
}

}  // namespace morsk
