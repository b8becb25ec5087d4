#include "module/module_state.h"

namespace qm {

QM_CONSTINIT module_state state;

} // namespace qm
