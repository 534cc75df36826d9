#include "resources/init_resources.h"

#include <QtCore/qglobal.h>

// Q_INIT_RESOURCE declares the registration function in the enclosing namespace, so it is
// called from the global one.
static void InitVexmoResources()
{
    Q_INIT_RESOURCE(vexmo_resources);
}

namespace vexmo {

void InitResources()
{
    ::InitVexmoResources();
}

} // namespace vexmo
