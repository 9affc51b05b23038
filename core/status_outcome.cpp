#include "status_outcome.h"

#include <string_view>

#include "auto_sequence.h"
#include "chip_backup.h"
#include "chip_operations.h"
#include "identify.h"
#include "production_run.h"

namespace morsk {
namespace {

bool EndsWith(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

}  // namespace

LineOutcome ClassifyStatusLine(const std::string& line)
{
    for (const char* end : {"错误...!", "失败...!", "失败!", "找不到器件!", kProgrammerInitFailedLine, "器件不为空!", kNothingWrittenLine, kNotInDeviceListLine,
                            "不能备份!"})
        if (EndsWith(line, end))
            return LineOutcome::Failure;
    for (const char* start : {"读取错误器件ID:", "操作已取消!", kLogFailedLine})
        if (line.rfind(start, 0) == 0)
            return LineOutcome::Failure;
    if (line == kAutoEmptyLine)
        return LineOutcome::Failure;
    // The last line of an operation that did all it set out to do.
    for (const char* done : {"编程器件完成!", "读器件已完成!", "效验器件完成!", "效验器件已完成!", kAutoDoneLine,
                             kRestoreDoneLine})
        if (line == done)
            return LineOutcome::Success;
    if (line.rfind(kBackupDoneLine, 0) == 0)
        return LineOutcome::Success;
    return LineOutcome::Neutral;
}

}  // namespace morsk
