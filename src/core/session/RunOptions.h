#pragma once

#include "core/captioning/ApplyTemplateRun.h"

namespace zelvarion {

struct Session;

// The run of the template in use as the settings of the apply dialog and the edit options ask
// it: the stored merge mode (0 for a number outside 0 to 2) and keyword option, the backups and
// kept date, the customized label and the messages of the session's language, which must outlive
// the options.
ApplyOptions applyOptionsFrom(const Session &session);

} // namespace zelvarion
