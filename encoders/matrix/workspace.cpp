#include "workspace.h"

namespace matrix {

Workspace& SharedWorkspace() {
    static Workspace workspace{};
    return workspace;
}

}  // namespace matrix
