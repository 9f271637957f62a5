#include "platform/gui/SingleInstance.h"
