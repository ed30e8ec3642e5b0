#pragma once
// The two kinds of dates QuickTime movies carry.

#include "runtime/DateValue.h"

#include <cstdint>
#include <optional>
#include <span>

// A movie-header time (seconds since 1904-01-01 00:00:00 UTC) as a local date value of this
// machine's time zone; nullopt for 0 ("not set") and for times past the year 9999.
std::optional<rt::DateValue> LocalDateFromMovieTime(uint64_t seconds);

// An ISO 8601 date text as Apple writes its creation-date key, "YYYY-MM-DDTHH:MM:SS" followed
// by an optional fraction and offset ("2019-07-24T11:25:40+0300"): the local time of the
// place it was taken, as written (the offset only says how far that is from UTC, as an EXIF
// offset tag does). nullopt when the text does not start so or is not a real date.
std::optional<rt::DateValue> DateFromAppleText(std::span<const uint8_t> text);
