#include "app/startup/resources_init.h"

#include <QtCore/qglobal.h>

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitOrvalinResources()
{
    Q_INIT_RESOURCE(orvalin);
    Q_INIT_RESOURCE(tools);
}

namespace orv {

void InitResources()
{
    InitOrvalinResources();
}

}  // namespace orv
