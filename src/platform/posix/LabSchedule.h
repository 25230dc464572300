// The stand-in scheduler's jobs as at.exe reads them from its command line and lists them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::lab {

enum class Repeat { Once, Every, Next };

struct Job {
    int id = 0;
    Repeat repeat = Repeat::Once;
    unsigned weekdays = 0;  // bit 0 Monday .. bit 6 Sunday
    unsigned monthDays = 0; // bit 0 the 1st .. bit 30 the 31st
    int minutes = 0;        // after midnight
    std::string command;    // as typed
};

// An at time: hours and minutes of one or two digits each, joined by ':', then AM or PM in any
// case (hours 1 to 12) or nothing (hours 0 to 23); minutes 0 to 59. 7:5AM is 7:05.
std::optional<int> ParseTime(std::string_view text);

// Whether an argument is a day argument: /every or /next (any case), alone or followed by ':'.
bool IsDayArgument(std::string_view text);

// Reads /every:DAYS or /next:DAYS into the job's repeat and days. DAYS are Monday to Sunday (or
// at's short forms M, T, W, Th, F, S, Su; any case) and 1 to 31, joined by commas. Without days
// the job runs on today's day of the month, as at does. False with a message for a bad day.
bool ParseDays(std::string_view text, int todayOfMonth, Job& job, std::string& error);

// A command line's words put back together: joined by blanks, a word holding a blank or a tab (or
// an empty one) in double quotes, as it was typed.
std::string JoinCommand(const std::vector<std::string>& words);

// What an at.exe command line asks for.
struct AtRequest {
    enum class Action { List, Add, Remove } action = Action::List;
    std::string server; // as given, without the two backslashes
    int jobId = 0;      // Remove
    Job job;            // Add: time, repeat, days and command
};

// The command lines of at.exe, without the program's own name:
//   \\SERVER                                  list the jobs
//   \\SERVER TIME [/every:DAYS|/next:DAYS] COMMAND...   add a job
//   \\SERVER ID /Delete [/Yes]                remove a job (option case ignored)
// False with a message saying what is wrong.
bool ParseAtRequest(const std::vector<std::string>& args, int todayOfMonth, AtRequest& request,
                    std::string& error);

// "7:05 AM", "12:30 PM".
std::string TimeText(int minutes);
// "Today", "Each M W F 15", "Next Su".
std::string DayText(const Job& job);
// The header, a rule and one row per job; or the line saying there are none. Lines end in '\n'.
std::string Listing(const std::vector<Job>& jobs);

} // namespace corvane::lab
