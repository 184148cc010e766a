#include "Clock.h"

#include <cstdio>

namespace camini {

std::string formatDateTime(const std::tm& t) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d %02d:%02d:%02d", t.tm_mday, t.tm_mon + 1,
                  t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec);
    return buf;
}

std::optional<std::time_t> readSourceDateEpoch(std::string_view text) {
    // 9999-12-31 23:59:59 UTC.
    constexpr std::time_t latest = 253402300799;
    if (text.empty() || text.size() > 12 || text.find_first_not_of("0123456789") != text.npos)
        return std::nullopt;
    std::time_t moment = 0;
    for (char c : text)
        moment = moment * 10 + (c - '0');
    if (moment > latest)
        return std::nullopt;
    return moment;
}

std::tm utcTime(std::time_t moment) {
    std::tm t{};
    ::gmtime_r(&moment, &t);
    return t;
}

std::tm localNow() {
    std::time_t now = std::time(nullptr);
    std::tm t{};
    ::localtime_r(&now, &t);
    return t;
}

} // namespace camini
