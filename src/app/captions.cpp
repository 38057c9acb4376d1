#include "app/captions.h"

#include "env/text_store.h"

#include <QStringList>
#include <array>

namespace daybridge {
namespace {

struct Pair {
    const char* english;
    const char* german;
};

Pair CaptionPair(Caption caption) {
    switch (caption) {
        case Caption::Compute:
            return {"Compute", "Berechnen"};
        case Caption::Today:
            return {"Today", "Heute"};
        case Caption::Reset:
            return {"Reset", "Zurücksetzen"};
        case Caption::Configure:
            return {"Configure", "Konfigurieren"};
        case Caption::Quit:
            return {"Quit", "Beenden"};
        case Caption::Clear:
            return {"Clear", "Löschen"};
        case Caption::SecondToFirst:
            return {"Second -> First", "Zweites -> Erstes"};
        case Caption::DisplayMonth:
            return {"Display month", "Monat zeigen"};
        case Caption::Enlarge:
            return {"Enlarge", "Groß anzeigen"};
        case Caption::View:
            return {"View", "Anschauen"};
        case Caption::Remove:
            return {"Remove", "Entfernen"};
        case Caption::InputFile:
            return {"Input file", "Eingabedatei"};
        case Caption::ProcessFile:
            return {"Process file", "Datei verarbeiten"};
        case Caption::Stop:
            return {"Stop", "Stop"};
        case Caption::CopyToClipboard:
            return {"Copy to clipboard", "In Zwischenablage kopieren"};
        case Caption::CopyAllToClipboard:
            return {"Copy all text to clipboard", "Text in Zwischenablage kopieren"};
        case Caption::CopySelectedToClipboard:
            return {"Copy selected text to clipboard", "Auswahl in Zwischenablage kopieren"};
        case Caption::EnlargedOutput:
            return {"Enlarged output", "Vergrößerte Ausgabe"};
        case Caption::FirstDate:
            return {"First date", "Erstes Datum"};
        case Caption::SecondDate:
            return {"Second date", "Zweites Datum"};
        case Caption::DateDifference:
            return {"Date difference", "Datumsdifferenz"};
        case Caption::ThisIsA:
            return {"This is a", "Dies ist ein"};
        case Caption::CalCE:
            return {"Common Era date", "Common-Era-Datum"};
        case Caption::CalJC:
            return {"Julian Calendar date", "Julianisches Kalenderdatum"};
        case Caption::CalORD:
            return {"Ordinal date", "Ordinaldatum"};
        case Caption::CalJDN:
            return {"Julian day number", "Julianische Tageszahl"};
        case Caption::CalISO:
            return {"ISO Week date", "ISO-Wochendatum"};
        case Caption::CalLPM:
            return {"Velmora Leap Week month date", "Velmora Leap Week Monatsdatum"};
        case Caption::CalLPW:
            return {"Velmora Leap Week week date", "Velmora Leap Week Wochendatum"};
        case Caption::IncludeFirstDate:
            return {"Include first date in days-between-dates", "Erstes Datum mitzählen"};
        case Caption::IncludeWeekends:
            return {"Count weekend days in days-between-dates", "Wochenendtage zählen"};
        case Caption::Verbose:
            return {"Verbose", "Zusatzinfo"};
        case Caption::SaveOutput:
            return {"Save results on quit", "Ergebnisse beim Beenden speichern"};
        case Caption::ClickToChangeCalendar:
            return {"Click to change calendar", "Anklicken, um den Kalender zu wechseln"};
        case Caption::OnlineDocumentation:
            return {"Online documentation", "Online-Dokumentation"};
        case Caption::VelmoraSystems:
            return {"Velmora Systems", "Velmora Systems"};
        case Caption::Language:
            return {"Language", "Sprache"};
        case Caption::English:
            return {"English", "Englisch"};
        case Caption::German:
            return {"German", "Deutsch"};
        case Caption::TodayIs:
            return {"Today is", "Heute ist"};
        case Caption::WeekFromTodayIs:
            return {"A week from today is", "In einer Woche ist"};
        case Caption::FiveDayWeekFromTodayIs:
            return {"A (5-day) week from today is", "In einer (5-Tage-)Woche ist"};
        case Caption::OutputWindow:
            return {"Output window", "Ausgabefenster"};
        case Caption::OutputWindowEmpty:
            return {"The output window is empty.", "Das Ausgabefenster ist leer."};
        case Caption::Day:
            return {"Day", "Tag"};
        case Caption::Days:
            return {"Days", "Tage"};
        case Caption::Week:
            return {"Week", "Woche"};
        case Caption::Weeks:
            return {"Weeks", "Wochen"};
        case Caption::Month:
            return {"Month", "Monat"};
        case Caption::Months:
            return {"Months", "Monate"};
        case Caption::Year:
            return {"Year", "Jahr"};
        case Caption::Years:
            return {"Years", "Jahre"};
        case Caption::To:
            return {"To", "Bis"};
        case Caption::Plus:
            return {"plus", "plus"};
        case Caption::Minus:
            return {"minus", "minus"};
        case Caption::OutOfRange:
            return {"Out of Range", "Ausserhalb des erlaubten Bereichs"};
        case Caption::ErrorWord:
            return {"Error", "Fehler"};
        case Caption::IncludingFirstDate:
            return {"including 1st date", "einschliesslich 1. Datum"};
        case Caption::ExcludingFirstDate:
            return {"excluding 1st date", "ausschliesslich 1. Datum"};
        case Caption::NotCountingWeekendDays:
            return {"not counting weekend days", "die Wochenendtage nicht gezählt"};
        case Caption::InEffect:
            return {"In effect", "In Kraft"};
        case Caption::Line:
            return {"Line", "Linie"};
        case Caption::IsInvalid:
            return {"is invalid", "ist ungültig"};
        case Caption::InadmissibleSeparator:
            return {"contains inadmissible date separator.",
                    "enthält ein unzulässiges Datumstrennzeichen."};
        case Caption::FirstDateIncluded:
            return {"First date included.", "Erste Datum eingeschlossen."};
        case Caption::FirstDateNotIncluded:
            return {"First date not included.", "Erste Datum ausgeschlossen."};
        case Caption::WeekendsCounted:
            return {"Weekend days are counted.", "Wochenendtage werden gezählt."};
        case Caption::WeekendsNotCounted:
            return {"Weekend days are not counted.", "Wochenendtage werden nicht gezählt."};
        case Caption::HyphenOn:
            return {"Ordinal and ISO Week dates are with hyphen.",
                    "Ordinal- und ISO-Woche-Daten sind mit Divis."};
        case Caption::HyphenOff:
            return {"Ordinal and ISO Week dates are without hyphen.",
                    "Ordinal- und ISO-Woche-Daten sind ohne Divis."};
        case Caption::DateFormatIs:
            return {"Date format is", "Datumsformat ist"};
        case Caption::FirstDateIs:
            return {"1st date is", "1. Datum ist"};
        case Caption::SecondDateIs:
            return {"2nd date is", "2. Datum ist"};
        case Caption::AllThreeEmpty:
            return {"all three fields are empty", "alle drei Felder sind leer"};
        case Caption::OnlyDifferenceNonEmpty:
            return {"only the date difference is non-empty",
                    "nur die Datumsdifferenz ist nicht leer"};
        case Caption::AllThreeNonEmpty:
            return {"all three fields non-empty", "alle drei Felder sind nicht leer"};
        case Caption::ProcessingStopped:
            return {"Processing stopped.", "Verarbeitung abgebrochen."};
        case Caption::FileNotFound:
            return {"File not found", "Datei nicht gefunden"};
        case Caption::InputFileDoesNotExist:
            return {"Input file does not exist.", "Die Eingabedatei besteht nicht."};
        case Caption::SpecifyInputFile:
            return {"Specify input file", "Eingabedatei angeben"};
        case Caption::TextFilesFilter:
            return {"Text files (*.txt)", "Textdateien (*.txt)"};
        case Caption::Invalid:
            return {"Invalid", "Ungültig"};
        case Caption::DateFormatFrame:
            return {"CE/JC date format", "CE/JC-Datumsformat"};
        case Caption::DateSeparatorFrame:
            return {"CE/JC date separator", "CE/JC-Datumstrennzeichen"};
        case Caption::ThousandsSeparatorFrame:
            return {"Thousands separator", "Tausendertrennzeichen"};
        case Caption::ThousandsComma:
            return {"Comma: 1,000", "Komma: 1,000"};
        case Caption::ThousandsDot:
            return {"Dot: 1.000", "Punkt: 1.000"};
        case Caption::ThousandsNone:
            return {"None: 1000", "Keines: 1000"};
        case Caption::Hyphen:
            return {"Hyphen in ordinal and in ISO Week dates",
                    "Bindestrich in Ordinal- und ISO-Wochendaten"};
        case Caption::DisplayDayNames:
            return {"Display day names", "Wochentage anzeigen"};
        case Caption::MaxNumErrors:
            return {"Terminate processing if number of errors reaches:",
                    "Batchlauf abbrechen, sobald die Zahl der Fehler diesen Wert erreicht:"};
        case Caption::AutoEnlarge:
            return {"Auto Enlarge when output from processing exceeds this number of bytes:",
                    "Ausgabe automatisch groß anzeigen, sobald sie diese Anzahl von Bytes "
                    "überschreitet:"};
        case Caption::Close:
            return {"Close", "Schließen"};
        case Caption::ValueTooLarge:
            return {"The largest value allowed is 32,767.",
                    "Der größte zulässige Wert ist 32.767."};
        case Caption::LimitNotANumber:
            return {"Please enter a whole number from 0 to 32,767.",
                    "Bitte eine ganze Zahl von 0 bis 32.767 eingeben."};
        case Caption::OrderYMD:
            return {"Year Month Day", "Jahr Monat Tag"};
        case Caption::OrderDMY:
            return {"Day Month Year", "Tag Monat Jahr"};
        case Caption::OrderMDY:
            return {"Month Day Year", "Monat Tag Jahr"};
        case Caption::MonthDisplayTitle:
            return {"Month display", "Monatsanzeige"};
        case Caption::Show:
            return {"Display", "Zeigen"};
        case Caption::PleaseSpecifyYear:
            return {"Please specify year", "Bitte Jahr angeben"};
        case Caption::InvalidInput:
            return {"Invalid input", "Ungültige Eingabe"};
        case Caption::CommonEraCalendar:
            return {"Common Era Calendar", "Gregorianischer Kalender"};
        case Caption::JulianCalendar:
            return {"Julian Calendar", "Julianischer Kalender"};
        case Caption::Sunday:
            return {"Sunday", "Sonntag"};
        case Caption::Monday:
            return {"Monday", "Montag"};
        case Caption::Gregorian:
            return {"Gregorian", "Gregorianisch"};
        case Caption::Julian:
            return {"Julian", "Julianisch"};
        case Caption::Year_:
            return {"Year", "Jahr"};
        case Caption::Month_:
            return {"Month", "Monat"};
        case Caption::Next:
            return {"Next", "Nächster"};
        case Caption::Previous:
            return {"Previous", "Voriger"};
        case Caption::YearOutOfRange:
            return {"The year must lie between -5,800,000 and 5,800,000.",
                    "Das Jahr muss zwischen -5.800.000 und 5.800.000 liegen."};
        case Caption::ClearColon:
            return {"Clear:", "Löschen:"};
        case Caption::Or:
            return {"or", "oder"};
        case Caption::CancelThisOperation:
            return {"Cancel this operation", "Vorgang abbrechen"};
        case Caption::Continue:
            return {"Continue", "Fortfahren"};
        case Caption::BlockWithoutEnd:
            return {"Block without its end line", "Block ohne seine Endzeile"};
        case Caption::EndOutsideCall:
            return {"End of a FUNCTION or SUB reached outside its call",
                    "Ende einer FUNCTION oder SUB außerhalb ihres Aufrufs erreicht"};
        case Caption::CallsTooDeep:
            return {"Calls nested too deeply (more than 50 levels)",
                    "Aufrufe zu tief verschachtelt (mehr als 50 Ebenen)"};
        case Caption::ProgramTooLong:
            return {"The program has more than 32,500 lines",
                    "Das Programm hat mehr als 32.500 Zeilen"};
        // working-day choice (%1, %2: the weekend days, the holiday set's name)
        case Caption::QualifierWeekendNamed:
            return {"not counting weekend days (%1)", "die Wochenendtage (%1) nicht gezählt"};
        case Caption::QualifierHolidays:
            return {"not counting weekend days and holidays (%1)",
                    "die Wochenendtage und Feiertage (%1) nicht gezählt"};
        case Caption::QualifierWeekendNamedHolidays:
            return {"not counting weekend days (%1) and holidays (%2)",
                    "die Wochenendtage (%1) und Feiertage (%2) nicht gezählt"};
        case Caption::QualifierHolidaysOnly:
            return {"not counting holidays (%1)", "die Feiertage (%1) nicht gezählt"};
        case Caption::NoWeekendDays:
            return {"none", "keine"};
        case Caption::WeekendDaysFrame:
            return {"Weekend days", "Wochenendtage"};
        case Caption::HolidaysFrame:
            return {"Holidays", "Feiertage"};
        case Caption::NoHolidays:
            return {"None", "Keine"};
        case Caption::HolidayFind:
            return {"Find a country or region", "Land oder Region suchen"};
        case Caption::HolidayFileButton:
            return {"File...", "Datei..."};
        case Caption::HolidayFileFilter:
            return {"Holiday files (*.txt);;All files (*)",
                    "Feiertagsdateien (*.txt);;Alle Dateien (*)"};
        case Caption::AllDaysWeekend:
            return {"At least one day of the week must be a working day.",
                    "Mindestens ein Wochentag muss ein Arbeitstag sein."};
        case Caption::HolidayFileNotLoaded:
            return {"The holiday file was not loaded; the previous choice stays:",
                    "Die Feiertagsdatei wurde nicht geladen; die bisherige Wahl bleibt:"};
        // the date fields' choice of the world's calendars
        case Caption::OtherCalendar:
            return {"Other:", "Andere:"};
        case Caption::HelpTitle:
            return {"Daybridge help", "Daybridge-Hilfe"};
        case Caption::HelpContents:
            return {"Contents", "Inhalt"};
        case Caption::HelpBack:
            return {"Back", "Zurück"};
        case Caption::HelpForward:
            return {"Forward", "Vorwärts"};
        case Caption::HelpUserGuide:
            return {"User guide", "Anleitung"};
        case Caption::HelpFind:
            return {"Find:", "Suchen:"};
        case Caption::HelpMatchOf:
            return {"%1 of %2", "%1 von %2"};
        case Caption::HelpNoMatch:
            return {"Not found", "Nicht gefunden"};
        case Caption::HelpGuideNotFound:
            return {"The user guide was not found. Daybridge looked for it here:",
                    "Die Anleitung wurde nicht gefunden. Daybridge hat hier nach ihr gesucht:"};
        case Caption::HelpLinkedGuideNotFound:
            return {"This guide was not found:", "Diese Anleitung wurde nicht gefunden:"};
        case Caption::Count_:
            break;
    }
    return {"", ""};
}

// Rows 0..9 of the computation messages; 2 and 7 are not used.
constexpr std::array<std::array<const char*, 10>, 3> kComputeMessages{{
    {"If both the first date and the second date are specified then the date difference "
     "window must be empty.",
     "First date is not valid in specified calendar using specified date format.", "",
     "First date is out of range.", "Date difference is not valid.",
     "Date difference is out of range.",
     "Second date is not valid in specified calendar using specified date format.", "",
     "Second date is out of range.", "Result is out of range."},
    {" Wenn sowohl Erstes als auch Zweites Datum angegeben sind, muss das Feld für die "
     "Datumsdifferenz leer sein.",
     "Erstes Datum ist in dem angegebenen Kalender (und Datumsformat) nicht zulässig.", "",
     "Erstes Datum liegt ausserhalb des erlaubten Bereichs.", "Datumsdifferenz ist nicht zulässig.",
     "Datumsdifferenz ist ausserhalb des erlaubten Bereichs.",
     "Zweites Datum ist in dem angegebenen Kalender (und Datumsformat) nicht zulässig.", "",
     "Zweites Datum liegt ausserhalb des erlaubten Bereichs.",
     "Das Resultat liegt ausserhalb des erlaubten Bereichs."},
    {"Si ambas, la primera y la segunda fechas, son especificadas entonces la ventana  de "
     "diferencia de fechas debe estar vacía.",
     "La primera fecha no es válida en un calendario especificado.", "",
     "Primera fecha está fuera de rango.", "Diferencia de fechas no es válida.",
     "Diferencia de fechas está fuera de rango.",
     "La segunda fecha no es válida en el calendario específicado.", "",
     "La segunda fecha está fuera de rango.", "El resultado está fuera de rango."},
}};

}  // namespace

QString CaptionText(Caption caption, int language) {
    const Pair pair = CaptionPair(caption);
    if (caption == Caption::ErrorWord && language == kPortuguese) {
        return QStringLiteral("Erro");
    }
    return QString::fromUtf8(language == kGerman ? pair.german : pair.english);
}

QString WeekendDayNamesIn(std::uint8_t weekend, int language) {
    QStringList days;
    for (int day = 0; day < 7; ++day) {
        if (((weekend >> day) & 1) != 0) {
            days << DayNameIn((day + 1) % 7, language);  // Monday first
        }
    }
    return days.isEmpty() ? GetText(302, language) : days.join(QStringLiteral(", "));
}

QString ComputeMessage(ComputeMessageRow row, int language) {
    const auto index = static_cast<std::size_t>(row);
    std::size_t table = 0;
    if (language == kGerman) {
        table = 1;
    } else if (language == kSpanish) {
        table = 2;
    }
    return QString::fromUtf8(kComputeMessages[table][index]);
}

}  // namespace daybridge
