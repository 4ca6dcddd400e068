// Message texts of the input/output and allocation failure stops, by number.
#pragma once

// The error numbers this program raises beyond the fixed ones, in one place.
namespace error_number {
inline constexpr int kOpenOther = 6419;        // open refused for a reason outside the table
inline constexpr int kWriteOther = 6423;       // write refused for a reason outside the table
inline constexpr int kValueTooLong = 6510;     // free-format value text over 259 characters
inline constexpr int kUnitNotConnected = 6530; // statement on a unit with no file
inline constexpr int kFormatMalformed = 6980;
inline constexpr int kFormatIntegerForReal = 6981;
inline constexpr int kFormatRealForInteger = 6982;
inline constexpr int kFormatNoDescriptor = 6983;
inline constexpr int kFormatUnsupported = 6984;
inline constexpr int kRecordTooLong = 6985;
inline constexpr int kAllocation = 6772;
inline constexpr int kTooFewVolumes = 6773;
}  // namespace error_number

// The text shown after "- " for an input/output or allocation failure number;
// an empty text for a number the table does not hold.
const char* error_message(int number);
