// The desktop program's build of the linear encoders.
#include "entry.h"

namespace linear {
Context& LinearContext() {
    static Context context(kDesktop);
    return context;
}
}  // namespace linear
