#include "base/Clock.h"

namespace quodle {

const TClock& SystemClock() {
    static const TSystemClock clock;
    return clock;
}

}  // namespace quodle
