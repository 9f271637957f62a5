#include "core/session/RunOptions.h"

#include "core/iptc/IptcWriter.h"
#include "core/session/Session.h"

namespace zelvarion {

ApplyOptions applyOptionsFrom(const Session &session)
{
    const AppSettings &s = session.settings;
    ApplyOptions options;
    options.mode = MergeMode(s.applyTemplateOption >= 0 && s.applyTemplateOption <= 2 ? s.applyTemplateOption : 0);
    options.keywords = s.addKeywordsOption      ? KeywordOption::Add
                       : s.removeKeywordsOption ? KeywordOption::Remove
                                                : KeywordOption::None;
    options.writeOptions = iptcWriteOptionsFrom(s);
    options.customizedLabel = session.customizedLabel();
    options.language = &session.language;
    options.locale = QLocale(); // the pack's: both programs make it the default when they load it
    options.valueLimits = s.controlLengthFields ? ValueLimits::DialogAndWrite : ValueLimits::Write;
    return options;
}

} // namespace zelvarion
