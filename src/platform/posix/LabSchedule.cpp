// Reading at.exe's command lines (times, days, commands) and writing its job listing.
#include "platform/posix/LabSchedule.h"

#include "platform/posix/Lab.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>

namespace corvane::lab {
namespace {

struct DayName {
    std::string_view full;
    std::string_view shortForm;
};
constexpr std::array<DayName, 7> kWeekdays{{{"Monday", "M"},
                                            {"Tuesday", "T"},
                                            {"Wednesday", "W"},
                                            {"Thursday", "Th"},
                                            {"Friday", "F"},
                                            {"Saturday", "S"},
                                            {"Sunday", "Su"}}};

constexpr std::string_view kUsage =
    "Usage: AT \\\\SERVER                              lists the jobs\n"
    "       AT \\\\SERVER TIME [/every:DAYS | /next:DAYS] COMMAND   adds a job\n"
    "       AT \\\\SERVER ID /Delete /Yes              removes a job\n"
    "TIME is H:MM with AM or PM (hours 1 to 12) or without (hours 0 to 23); DAYS are Monday to\n"
    "Sunday and 1 to 31, joined by commas.";

bool StartsNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix);
}

bool AllDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// A number of one to maxDigits digits.
std::optional<int> SmallNumber(std::string_view text, size_t maxDigits) {
    int value = 0;
    if (!AllDigits(text) || text.size() > maxDigits) {
        return std::nullopt;
    }
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

bool ParseDay(std::string_view item, Job& job) {
    for (size_t i = 0; i < kWeekdays.size(); ++i) {
        if (EqualNoCase(item, kWeekdays[i].full) || EqualNoCase(item, kWeekdays[i].shortForm)) {
            job.weekdays |= 1u << i;
            return true;
        }
    }
    const auto day = SmallNumber(item, 2);
    if (!day || *day < 1 || *day > 31) {
        return false;
    }
    job.monthDays |= 1u << (*day - 1);
    return true;
}

std::string Padded(std::string text, size_t width) {
    text += ' ';
    if (text.size() < width) {
        text.append(width - text.size(), ' ');
    }
    return text;
}

bool Fail(std::string& error, std::string message) {
    error = std::move(message) + "\n" + std::string(kUsage);
    return false;
}

} // namespace

std::optional<int> ParseTime(std::string_view text) {
    const auto colon = text.find(':');
    if (colon == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view rest = text.substr(colon + 1);
    const auto digitsEnd = std::min(rest.find_first_not_of("0123456789"), rest.size());
    const auto hours = SmallNumber(text.substr(0, colon), 2);
    const auto minutes = SmallNumber(rest.substr(0, digitsEnd), 2);
    const std::string_view marker = rest.substr(digitsEnd);
    if (!hours || !minutes || *minutes > 59) {
        return std::nullopt;
    }
    if (marker.empty()) {
        return *hours <= 23 ? std::optional<int>(*hours * 60 + *minutes) : std::nullopt;
    }
    const bool am = EqualNoCase(marker, "am");
    if ((!am && !EqualNoCase(marker, "pm")) || *hours < 1 || *hours > 12) {
        return std::nullopt;
    }
    return (*hours % 12 + (am ? 0 : 12)) * 60 + *minutes;
}

bool IsDayArgument(std::string_view text) {
    for (const std::string_view option : {std::string_view("/every"), std::string_view("/next")}) {
        if (StartsNoCase(text, option) &&
            (text.size() == option.size() || text[option.size()] == ':')) {
            return true;
        }
    }
    return false;
}

bool ParseDays(std::string_view text, int todayOfMonth, Job& job, std::string& error) {
    job.repeat = StartsNoCase(text, "/every") ? Repeat::Every : Repeat::Next;
    job.weekdays = job.monthDays = 0;
    const auto colon = text.find(':');
    std::string_view days =
        colon == std::string_view::npos ? std::string_view() : text.substr(colon + 1);
    if (days.empty()) {
        job.monthDays = 1u << (std::clamp(todayOfMonth, 1, 31) - 1);
        return true;
    }
    for (;;) {
        const auto comma = days.find(',');
        const std::string_view item = days.substr(0, comma);
        if (!ParseDay(item, job)) {
            error = "Invalid day '" + std::string(item) +
                    "': days are Monday to Sunday and 1 to 31, joined by commas.";
            return false;
        }
        if (comma == std::string_view::npos) {
            return true;
        }
        days = days.substr(comma + 1);
    }
}

std::string JoinCommand(const std::vector<std::string>& words) {
    std::string command;
    for (const std::string& word : words) {
        if (!command.empty()) {
            command += ' ';
        }
        const bool quote = word.empty() || word.find_first_of(" \t") != std::string::npos;
        command += quote ? "\"" + word + "\"" : word;
    }
    return command;
}

bool ParseAtRequest(const std::vector<std::string>& args, int todayOfMonth, AtRequest& request,
                    std::string& error) {
    request = AtRequest();
    if (args.empty() || args[0].size() < 2 || args[0].compare(0, 2, "\\\\") != 0) {
        return Fail(error, "The first argument must name the server as \\\\SERVER.");
    }
    request.server = args[0].substr(2);
    if (args.size() == 1) {
        return true;
    }
    if (EqualNoCase(args[1], "/delete")) {
        return Fail(error, "Give the ID of the job to remove before /Delete.");
    }
    if (AllDigits(args[1]) && args.size() >= 3 && EqualNoCase(args[2], "/delete")) {
        const auto id = SmallNumber(args[1], 9);
        if (!id || args.size() > 4 || (args.size() == 4 && !EqualNoCase(args[3], "/yes"))) {
            return Fail(error, "Invalid removal: AT \\\\SERVER ID /Delete /Yes.");
        }
        request.action = AtRequest::Action::Remove;
        request.jobId = *id;
        return true;
    }
    request.action = AtRequest::Action::Add;
    const auto minutes = ParseTime(args[1]);
    if (!minutes) {
        return Fail(error, "Invalid time '" + args[1] + "'.");
    }
    request.job.minutes = *minutes;
    size_t next = 2;
    if (next < args.size() && IsDayArgument(args[next])) {
        if (!ParseDays(args[next], todayOfMonth, request.job, error)) {
            return Fail(error, error);
        }
        ++next;
    }
    if (next == args.size()) {
        return Fail(error, "The command of the job is missing.");
    }
    request.job.command = JoinCommand({args.begin() + static_cast<long>(next), args.end()});
    if (request.job.command.find_first_of("\r\n") != std::string::npos) {
        return Fail(error, "The command of a job cannot hold a line break.");
    }
    return true;
}

std::string TimeText(int minutes) {
    const int hours = minutes / 60;
    char text[16];
    std::snprintf(text, sizeof text, "%d:%02d %s", hours % 12 == 0 ? 12 : hours % 12, minutes % 60,
                  hours < 12 ? "AM" : "PM");
    return text;
}

std::string DayText(const Job& job) {
    if (job.repeat == Repeat::Once) {
        return "Today";
    }
    std::string text = job.repeat == Repeat::Every ? "Each" : "Next";
    for (size_t i = 0; i < kWeekdays.size(); ++i) {
        if ((job.weekdays & (1u << i)) != 0) {
            text += ' ';
            text += kWeekdays[i].shortForm;
        }
    }
    for (int day = 1; day <= 31; ++day) {
        if ((job.monthDays & (1u << (day - 1))) != 0) {
            text += ' ' + std::to_string(day);
        }
    }
    return text;
}

std::string Listing(const std::vector<Job>& jobs) {
    if (jobs.empty()) {
        return "There are no entries in the list.\n";
    }
    std::string text = "Status ID   Day                     Time          Command Line\n" +
                       std::string(79, '-') + "\n";
    for (const Job& job : jobs) {
        text += "       " + Padded(std::to_string(job.id), 5) + Padded(DayText(job), 24) +
                Padded(TimeText(job.minutes), 14) + job.command + "\n";
    }
    return text;
}

} // namespace corvane::lab
