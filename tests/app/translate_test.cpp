#include <gtest/gtest.h>

#include "translate.h"

namespace morsk {
namespace {

// Lines the core composes from a fixed text and what it found: each part in
// English, names, numbers and paths as they are.
TEST(Translate, ComposedLinesInEnglish)
{
    SetLanguage(Language::English);
    const struct {
        const char* chinese;
        const char* english;
    } cases[] = {
        {"编程FLASH成功!", "Flash programmed!"},
        {"器件ID:1E 93 07", "Device ID:1E 93 07"},
        {"读取错误器件ID:1E 94 03", "Wrong device ID read:1E 94 03"},
        {"插座中的器件是: ATMEL/ATMEGA8、ATMEL/ATMEGA8L", "The chip in the socket is: ATMEL/ATMEGA8, ATMEL/ATMEGA8L"},
        {"文件中未载入的段: 熔丝位 (0x820000)、锁定位 (0x830000)",
         "Sections of the file not loaded: fuses (0x820000), lock byte (0x830000)"},
        {"文件打开错误 !!!: /home/用户/固件.hex: No such file or directory",
         "Error opening the file !!!: /home/用户/固件.hex: No such file or directory"},
        {"效验和: 0021DE00H   文件 = /tmp/数据/fw.hex", "Checksum: 0021DE00H   File = /tmp/数据/fw.hex"},
        {"序列号 8 没有写入器件, 留给下一个", "Serial number 8 was not written, kept for the next chip"},
        {"恢复器件需要确认: 熔丝位将编程 RSTDISBL、取消编程 SPIEN",
         "Restoring needs consent: the fuses would program RSTDISBL, unprogram SPIEN"},
        {"失败 #2 ATMEL/ATMEGA8: 效验器件失败! (34 ms)", "FAIL #2 ATMEL/ATMEGA8: Verify failed! (34 ms)"},
        {" ATMEL ATMEGA8  2200H*8", " ATMEL ATMEGA8  2200H*8"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Translate(c.chinese), c.english) << c.chinese;
    SetLanguage(Language::Chinese);
    EXPECT_EQ(Translate("编程FLASH成功!"), "编程FLASH成功!");
}

}  // namespace
}  // namespace morsk
