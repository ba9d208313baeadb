#include "app/startup/app_version.h"

namespace orv {

const char *AppVersion()
{
    return ORVALIN_VERSION;
}

}  // namespace orv
