#pragma once
// Result codes and notification flags of the multimedia command strings, with the values of
// the interface the game was written for.

#include <cstdint>

using MCIERROR = std::uint32_t;

constexpr MCIERROR MCI_OK = 0;
constexpr MCIERROR MCIERR_BASE = 256;
constexpr MCIERROR MCIERR_UNRECOGNIZED_KEYWORD = MCIERR_BASE + 3;
constexpr MCIERROR MCIERR_UNRECOGNIZED_COMMAND = MCIERR_BASE + 5;
constexpr MCIERROR MCIERR_HARDWARE = MCIERR_BASE + 6;
constexpr MCIERROR MCIERR_INVALID_DEVICE_NAME = MCIERR_BASE + 7;
constexpr MCIERROR MCIERR_MISSING_COMMAND_STRING = MCIERR_BASE + 11;
constexpr MCIERROR MCIERR_MISSING_STRING_ARGUMENT = MCIERR_BASE + 13;
constexpr MCIERROR MCIERR_BAD_INTEGER = MCIERR_BASE + 14;
constexpr MCIERROR MCIERR_MISSING_PARAMETER = MCIERR_BASE + 17;
constexpr MCIERROR MCIERR_UNSUPPORTED_FUNCTION = MCIERR_BASE + 18;
constexpr MCIERROR MCIERR_FILE_NOT_FOUND = MCIERR_BASE + 19;
constexpr MCIERROR MCIERR_OUTOFRANGE = MCIERR_BASE + 26;
constexpr MCIERROR MCIERR_DUPLICATE_ALIAS = MCIERR_BASE + 33;
constexpr MCIERROR MCIERR_MISSING_DEVICE_NAME = MCIERR_BASE + 36;
constexpr MCIERROR MCIERR_NO_CLOSING_QUOTE = MCIERR_BASE + 38;
constexpr MCIERROR MCIERR_INVALID_FILE = MCIERR_BASE + 40;

// The window message that carries a notification, for code that reports it by number.
constexpr std::uint32_t MM_MCINOTIFY = 0x3B9;

// Why a play with "notify" ended: it reached its end; another play with "notify" took its
// place; stop, seek or close interrupted it.
constexpr std::uint32_t MCI_NOTIFY_SUCCESSFUL = 0x1;
constexpr std::uint32_t MCI_NOTIFY_SUPERSEDED = 0x2;
constexpr std::uint32_t MCI_NOTIFY_ABORTED = 0x4;
