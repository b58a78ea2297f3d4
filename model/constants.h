#pragma once
// Sentinels for absent values. They are compared exactly everywhere: a value
// that equals one of them means "never given", never "close to".
#include <cstdint>

namespace veldrane {

inline constexpr double kUndefinedNumber = 0.0001;
inline constexpr std::int32_t kUndefinedPointId = 9999999;
// The undefined date is 12/31/2000 at midnight; see DateTime::Undefined().

// Survey dataset kinds as the data source reports them.
inline constexpr std::int32_t kSurveyTypeSurvey = 1000;
inline constexpr std::int32_t kSurveyTypeTraverse = 1001;

// Error numbers carried by raised errors.
inline constexpr std::int32_t kErrBaselineNotFound = -200001;
inline constexpr std::int32_t kErrInvalidDeclaration = -200003;
inline constexpr std::int32_t kErrInvalidRecord = -200004;
inline constexpr std::int32_t kErrNoBaselineIntersection = -200009;
inline constexpr std::int32_t kErrUnexpected = -200010;
inline constexpr std::int32_t kErrStationing = -200016;
inline constexpr std::int32_t kErrNoBoundingBox = 909125;
// Unrecognised file extension given to the survey factory.
inline constexpr std::int32_t kErrUnrecognizedExtension = -200002;

// Error severities of queued records.
inline constexpr std::int32_t kSeverityWarning = 0;
inline constexpr std::int32_t kSeverityError = 1;
inline constexpr std::int32_t kSeverityFatal = 2;

inline bool IsUndefined(double v) { return v == kUndefinedNumber; }

}  // namespace veldrane
