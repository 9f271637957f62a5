#include "platform/gui/ShellServices.h"
