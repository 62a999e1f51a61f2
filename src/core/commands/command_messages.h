#pragma once

namespace kv820 {

// What the operator reads when a command is refused: every text the command checks show,
// in one place, because the two command pages, the setup file's checks and the user lists
// show several of the same texts. They are the program's own texts, spelling included.

// Before any command: the session and the user.
inline constexpr char ConnectionErrorText[] = "Connection is ERROR!!!";
inline constexpr char NoUserChosenText[] = "No user is choosed.";

// Fields both pages have.
inline constexpr char ReturnPhoneInvalidText[] = "Return Phone Number input is a failure.";
inline constexpr char NumberOfReportsMissingText[] = "Number of Reports must have a value.";
inline constexpr char NumberOfReportsInvalidText[] = "Number of Reports input is a failure.";

// "SMS Configuration Command".
inline constexpr char DefaultReturnNumberMissingText[] =
    "SMS Default Return Phone Number must have a value.";
inline constexpr char DefaultReturnNumberInvalidText[] =
    "SMS Default Return Phone Number input is a failure.";
inline constexpr char ReturnIntervalMissingText[] = "Return Interval must have a value.";
inline constexpr char ReturnIntervalInvalidText[] = "Return Interval input is a failure.";
inline constexpr char ReturnIntervalRangeText[] = "Return Interval input is 5 ~ 86400";
inline constexpr char NumberOfReportsRangeText[] = "Number of Reports input is 0 ~ 999";
inline constexpr char SosNumber1InvalidText[] = "SOS Number 1 input is a failure.";
inline constexpr char SosNumber2InvalidText[] = "SOS Number 2 input is a failure.";
inline constexpr char SosNumber3InvalidText[] = "SOS Number 3 input is a failure.";

// "SMS Tracking Command".
inline constexpr char ReportTimeMissingText[] = "Report Time must have a value.";
inline constexpr char ReportTimeInvalidText[] = "Report Time input is a failure.";
inline constexpr char ReportTimeRangeText[] = "Report Time input is 1 ~ 86400";
inline constexpr char Longitude1MissingText[] = "Longitude 1 must have a value.";
inline constexpr char Longitude1InvalidText[] = "Longitude 1 input is a failure.";
inline constexpr char Latitude1MissingText[] = "Latitude 1 must have a value.";
inline constexpr char Latitude1InvalidText[] = "Latitude 1 input is a failure.";
inline constexpr char Longitude2MissingText[] = "Longitude 2 must have a value.";
inline constexpr char Longitude2InvalidText[] = "Longitude 2 input is a failure.";
inline constexpr char Latitude2MissingText[] = "Latitude 2 must have a value.";
inline constexpr char Latitude2InvalidText[] = "Latitude 2 input is a failure.";
inline constexpr char LongitudeMissingText[] = "Longitude must have a value.";
inline constexpr char LongitudeInvalidText[] = "Longitude input is a failure.";
inline constexpr char LatitudeMissingText[] = "Latitude must have a value.";
inline constexpr char LatitudeInvalidText[] = "Latitude input is a failure.";
inline constexpr char RadiusMissingText[] = "Radius must have a value.";
inline constexpr char RadiusInvalidText[] = "Radius input is a failure.";
inline constexpr char RadiusNotPositiveText[] = "Radius must be greater than 0";

}  // namespace kv820
