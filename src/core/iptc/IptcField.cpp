#include "core/iptc/IptcField.h"
