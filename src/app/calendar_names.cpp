#include "app/calendar_names.h"

#include <array>
#include <utility>

#include "app/captions.h"
#include "app/texts.h"

namespace daybridge {
namespace {

// The captions of the calendars with option buttons.
constexpr std::array<std::pair<CalendarId, Caption>, 7> kOptionCaptions = {{
    {CalendarId::CE, Caption::CalCE},
    {CalendarId::JC, Caption::CalJC},
    {CalendarId::ISO, Caption::CalISO},
    {CalendarId::JDN, Caption::CalJDN},
    {CalendarId::ORD, Caption::CalORD},
    {CalendarId::LPW, Caption::CalLPW},
    {CalendarId::LPM, Caption::CalLPM},
}};

}  // namespace

QString CalendarName(CalendarId id, Language language) {
    for (const auto& [calendar, caption] : kOptionCaptions) {
        if (calendar == id) {
            return CaptionText(caption, language);
        }
    }
    const int text = Calendar(id).nameText;
    return text != 0 ? Text(language, text) : CodeOf(id);
}

}  // namespace daybridge
