// The calendar arithmetic of exchanging roasts with Artisan: its files give
// a roast's date and time as separate texts ("2026-12-08", "14:03:05", the
// older "Tue Dec 8 2026") and as seconds since 1970 (UTC); the console's
// logs as one ISO 8601 text with the offset from UTC. Proleptic Gregorian
// days, no time zone database: an offset is whatever the text says.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "roast_clock.h"

// Reads "2026-12-08T14:03:05+01:00" (or "...Z", or without an offset);
// `has_offset` tells whether the text gave one.
std::optional<LocalDateTime> ParseIsoDateTime(const std::string& text, bool& has_offset);
// "2026-12-08" and "14:03:05" (or "14:03") as one local time.
std::optional<LocalDateTime> ParseDateAndTime(const std::string& date, const std::string& time);
// Qt's text date "Tue Dec 8 2026" (English names), with "14:03:05".
std::optional<LocalDateTime> ParseTextDateAndTime(const std::string& date, const std::string& time);

// `t` moved by `seconds` (its offset unchanged).
LocalDateTime ShiftedBy(const LocalDateTime& t, std::int64_t seconds);
// Seconds since 1970-01-01 00:00 UTC of `t`, by its offset.
std::int64_t EpochSeconds(const LocalDateTime& t);
// The local time of `epoch` seconds at `offset_minutes` from UTC.
LocalDateTime FromEpochSeconds(std::int64_t epoch, int offset_minutes);

// "2026-12-08T14:03:05", without an offset.
std::string IsoLocalDateTime(const LocalDateTime& t);
// "2026-12-08", "14:03:05" and "Tue Dec 8 2026".
std::string IsoDate(const LocalDateTime& t);
std::string ClockTime(const LocalDateTime& t);
std::string TextDate(const LocalDateTime& t);
