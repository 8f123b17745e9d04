// The automation server's build of the linear encoders.
#include "entry.h"

namespace linear {
Context& LinearContext() {
    static Context context(kServer);
    return context;
}
}  // namespace linear
