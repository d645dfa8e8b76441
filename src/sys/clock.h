#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// Dates in the short date format dd.MM.yyyy and times in the long time format HH:mm:ss, on every
// platform, so that a date stored by one machine reads the same on another.
namespace sys {

struct Date {
  int year = 0;
  int month = 0;
  int day = 0;
  auto operator<=>(const Date&) const = default;
};

struct DateTime {
  Date date;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual DateTime now() = 0;
  // A steady clock for timeouts.
  virtual std::chrono::steady_clock::time_point steadyNow() { return std::chrono::steady_clock::now(); }
};

// The local time of this machine.
Clock& systemClock();

std::string shortDate(const Date& date);        // "07.03.2003"
std::string longTime(const DateTime& time);     // "14:05:09"
std::string dateTime(const DateTime& time);     // "07.03.2003 14:05:09"
// Exactly dd.MM.yyyy with a real calendar day; nothing otherwise.
std::optional<Date> parseShortDate(std::string_view text);
Date addDays(const Date& date, int days);

}  // namespace sys
