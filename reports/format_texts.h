// The format texts of the three result files, one object each, parsed on
// first use. The report's texts are Windows-1252 bytes.
#pragma once

#include "reports/format.h"

namespace format_text {

// History file "ucentral.dat": the iteration number and the change of the
// central volume's velocity.
extern const Format kHistoryRecord;

// Report "saida.txt".
extern const Format kTitle;
extern const Format kN;
extern const Format kRe;
extern const Format kBeta;
extern const Format kItmax;
extern const Format kCoefficientHeader;
extern const Format kCoefficientRow;
extern const Format kSolutionHeader;
extern const Format kSolutionRow;
extern const Format kMeanNumerical;
extern const Format kMeanAnalytic;
extern const Format kMeanError;
extern const Format kL1;
extern const Format kL1PerVolume;

// Profile "u.dat".
extern const Format kProfileRow;

}  // namespace format_text
