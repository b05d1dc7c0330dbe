#pragma once

#include "cli/commandline.h"

#include <QString>

namespace quorva {

struct CheckOutcome {
    int exitStatus = 0; // 0 no errors, 1 errors, 2 a path that is no catalog or set
    QString output;     // the findings and the count, or one JSON document
    QString error;      // for exit status 2
};

CheckOutcome runCheck(const CheckRequest& request);

} // namespace quorva
