#include "platform/gui/MessageBoxFeedback.h"
