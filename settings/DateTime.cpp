#include "settings/DateTime.h"

#include <chrono>
#include <ctime>

namespace {
constexpr double MillisecondsPerDay = 24.0 * 60 * 60 * 1000;
} // namespace

double EncodeDateTime(int year, unsigned month, unsigned day, int hour, int minute, int second,
                      int millisecond) {
    using namespace std::chrono;
    constexpr sys_days Epoch =
        year_month_day{std::chrono::year{1899}, December, std::chrono::day{30}};
    const sys_days date =
        year_month_day{std::chrono::year{year}, std::chrono::month{month}, std::chrono::day{day}};
    const double milliseconds = ((hour * 60.0 + minute) * 60 + second) * 1000 + millisecond;
    return static_cast<double>((date - Epoch).count()) + milliseconds / MillisecondsPerDay;
}

double LocalDateTimeNow() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto millisecond =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    return EncodeDateTime(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                          static_cast<unsigned>(local.tm_mday), local.tm_hour, local.tm_min,
                          local.tm_sec, static_cast<int>(millisecond));
}
