#include "app/captions.h"

#include "text/numbered_text.h"

#include <QStringList>
#include <array>

namespace daybridge {
namespace {

// A caption's text in each interface language, by language number.
struct CaptionTexts {
    const char* english;
    const char* german;
    const char* french;
};

CaptionTexts CaptionTextsOf(Caption caption) {
    switch (caption) {
        case Caption::Compute:
            return {"Compute", "Berechnen", "Calculer"};
        case Caption::Today:
            return {"Today", "Heute", "Aujourd'hui"};
        case Caption::Reset:
            return {"Reset", "Zurücksetzen", "Réinitialiser"};
        case Caption::Configure:
            return {"Configure", "Konfigurieren", "Configurer"};
        case Caption::Quit:
            return {"Quit", "Beenden", "Quitter"};
        case Caption::Clear:
            return {"Clear", "Löschen", "Effacer"};
        case Caption::SecondToFirst:
            return {"Second -> First", "Zweites -> Erstes", "Seconde -> Première"};
        case Caption::DisplayMonth:
            return {"Display month", "Monat zeigen", "Afficher le mois"};
        case Caption::Enlarge:
            return {"Enlarge", "Groß anzeigen", "Agrandir"};
        case Caption::View:
            return {"View", "Anschauen", "Voir"};
        case Caption::Remove:
            return {"Remove", "Entfernen", "Retirer"};
        case Caption::InputFile:
            return {"Input file", "Eingabedatei", "Fichier d'entrée"};
        case Caption::ProcessFile:
            return {"Process file", "Datei verarbeiten", "Traiter le fichier"};
        case Caption::Stop:
            return {"Stop", "Stop", "Arrêter"};
        case Caption::CopyToClipboard:
            return {"Copy to clipboard", "In Zwischenablage kopieren",
                    "Copier dans le presse-papiers"};
        case Caption::CopyAllToClipboard:
            return {"Copy all text to clipboard", "Text in Zwischenablage kopieren",
                    "Copier le texte dans le presse-papiers"};
        case Caption::CopySelectedToClipboard:
            return {"Copy selected text to clipboard", "Auswahl in Zwischenablage kopieren",
                    "Copier la sélection dans le presse-papiers"};
        case Caption::EnlargedOutput:
            return {"Enlarged output", "Vergrößerte Ausgabe", "Sortie agrandie"};
        case Caption::FirstDate:
            return {"First date", "Erstes Datum", "Première date"};
        case Caption::SecondDate:
            return {"Second date", "Zweites Datum", "Seconde date"};
        case Caption::DateDifference:
            return {"Date difference", "Datumsdifferenz", "Écart en jours"};
        case Caption::ThisIsA:
            return {"This is a", "Dies ist ein", "Calendrier :"};
        case Caption::CalCE:
            return {"Common Era date", "Common-Era-Datum", "Ère commune"};
        case Caption::CalJC:
            return {"Julian Calendar date", "Julianisches Kalenderdatum", "Calendrier julien"};
        case Caption::CalORD:
            return {"Ordinal date", "Ordinaldatum", "Date ordinale"};
        case Caption::CalJDN:
            return {"Julian day number", "Julianische Tageszahl", "Jour julien"};
        case Caption::CalISO:
            return {"ISO Week date", "ISO-Wochendatum", "Semaine ISO"};
        case Caption::CalLPM:
            return {"Velmora Leap Week month date", "Velmora Leap Week Monatsdatum",
                    "Velmora Leap Week, mois"};
        case Caption::CalLPW:
            return {"Velmora Leap Week week date", "Velmora Leap Week Wochendatum",
                    "Velmora Leap Week, semaine"};
        case Caption::IncludeFirstDate:
            return {"Include first date in days-between-dates", "Erstes Datum mitzählen",
                    "Inclure la première date dans l'écart"};
        case Caption::IncludeWeekends:
            return {"Count weekend days in days-between-dates", "Wochenendtage zählen",
                    "Compter les jours de week-end dans l'écart"};
        case Caption::Verbose:
            return {"Verbose", "Zusatzinfo", "Détails"};
        case Caption::SaveOutput:
            return {"Save results on quit", "Ergebnisse beim Beenden speichern",
                    "Enregistrer les résultats en quittant"};
        case Caption::ClickToChangeCalendar:
            return {"Click to change calendar", "Anklicken, um den Kalender zu wechseln",
                    "Cliquer pour changer de calendrier"};
        case Caption::OnlineDocumentation:
            return {"Online documentation", "Online-Dokumentation", "Documentation en ligne"};
        case Caption::VelmoraSystems:
            return {"Velmora Systems", "Velmora Systems", "Velmora Systems"};
        case Caption::Language:
            return {"Language", "Sprache", "Langue"};
        case Caption::English:
            return {"English", "Englisch", "Anglais"};
        case Caption::German:
            return {"German", "Deutsch", "Allemand"};
        case Caption::French:
            return {"French", "Französisch", "Français"};
        case Caption::TodayIs:
            return {"Today is", "Heute ist", "Aujourd'hui :"};
        case Caption::WeekFromTodayIs:
            return {"A week from today is", "In einer Woche ist", "Dans une semaine :"};
        case Caption::FiveDayWeekFromTodayIs:
            return {"A (5-day) week from today is", "In einer (5-Tage-)Woche ist",
                    "Dans une semaine de 5 jours :"};
        case Caption::OutputWindow:
            return {"Output window", "Ausgabefenster", "Fenêtre de sortie"};
        case Caption::OutputWindowEmpty:
            return {"The output window is empty.", "Das Ausgabefenster ist leer.",
                    "La fenêtre de sortie est vide."};
        case Caption::Day:
            return {"Day", "Tag", "Jour"};
        case Caption::Days:
            return {"Days", "Tage", "Jours"};
        case Caption::Week:
            return {"Week", "Woche", "Semaine"};
        case Caption::Weeks:
            return {"Weeks", "Wochen", "Semaines"};
        case Caption::Month:
            return {"Month", "Monat", "Mois"};
        case Caption::Months:
            return {"Months", "Monate", "Mois"};
        case Caption::Year:
            return {"Year", "Jahr", "An"};
        case Caption::Years:
            return {"Years", "Jahre", "Ans"};
        case Caption::To:
            return {"To", "Bis", "à"};
        case Caption::Plus:
            return {"plus", "plus", "plus"};
        case Caption::Minus:
            return {"minus", "minus", "moins"};
        case Caption::OutOfRange:
            return {"Out of Range", "Ausserhalb des erlaubten Bereichs", "Hors limites"};
        case Caption::ErrorWord:
            return {"Error", "Fehler", "Erreur"};
        case Caption::IncludingFirstDate:
            return {"including 1st date", "einschliesslich 1. Datum", "1re date comprise"};
        case Caption::ExcludingFirstDate:
            return {"excluding 1st date", "ausschliesslich 1. Datum", "1re date non comprise"};
        case Caption::NotCountingWeekendDays:
            return {"not counting weekend days", "die Wochenendtage nicht gezählt",
                    "sans compter les jours de week-end"};
        case Caption::InEffect:
            return {"In effect", "In Kraft", "En vigueur"};
        case Caption::Line:
            return {"Line", "Linie", "Ligne"};
        case Caption::IsInvalid:
            return {"is invalid", "ist ungültig", "n'est pas valide"};
        case Caption::InadmissibleSeparator:
            return {"contains inadmissible date separator.",
                    "enthält ein unzulässiges Datumstrennzeichen.",
                    "contient un séparateur de date non admis."};
        case Caption::FirstDateIncluded:
            return {"First date included.", "Erste Datum eingeschlossen.",
                    "Première date comprise."};
        case Caption::FirstDateNotIncluded:
            return {"First date not included.", "Erste Datum ausgeschlossen.",
                    "Première date non comprise."};
        case Caption::WeekendsCounted:
            return {"Weekend days are counted.", "Wochenendtage werden gezählt.",
                    "Les jours de week-end sont comptés."};
        case Caption::WeekendsNotCounted:
            return {"Weekend days are not counted.", "Wochenendtage werden nicht gezählt.",
                    "Les jours de week-end ne sont pas comptés."};
        case Caption::HyphenOn:
            return {"Ordinal and ISO Week dates are with hyphen.",
                    "Ordinal- und ISO-Woche-Daten sind mit Divis.",
                    "Les dates ordinales et de semaine ISO ont un trait d'union."};
        case Caption::HyphenOff:
            return {"Ordinal and ISO Week dates are without hyphen.",
                    "Ordinal- und ISO-Woche-Daten sind ohne Divis.",
                    "Les dates ordinales et de semaine ISO n'ont pas de trait d'union."};
        case Caption::DateFormatIs:
            return {"Date format is", "Datumsformat ist", "Le format de date est"};
        case Caption::FirstDateIs:
            return {"1st date is", "1. Datum ist", "la 1re date est en"};
        case Caption::SecondDateIs:
            return {"2nd date is", "2. Datum ist", "la 2e date est en"};
        case Caption::AllThreeEmpty:
            return {"all three fields are empty", "alle drei Felder sind leer",
                    "les trois champs sont vides"};
        case Caption::OnlyDifferenceNonEmpty:
            return {"only the date difference is non-empty",
                    "nur die Datumsdifferenz ist nicht leer", "seul l'écart n'est pas vide"};
        case Caption::AllThreeNonEmpty:
            return {"all three fields non-empty", "alle drei Felder sind nicht leer",
                    "les trois champs sont remplis"};
        case Caption::ProcessingStopped:
            return {"Processing stopped.", "Verarbeitung abgebrochen.", "Traitement interrompu."};
        case Caption::FileNotFound:
            return {"File not found", "Datei nicht gefunden", "Fichier introuvable"};
        case Caption::InputFileDoesNotExist:
            return {"Input file does not exist.", "Die Eingabedatei besteht nicht.",
                    "Le fichier d'entrée n'existe pas."};
        case Caption::SpecifyInputFile:
            return {"Specify input file", "Eingabedatei angeben", "Indiquer le fichier d'entrée"};
        case Caption::TextFilesFilter:
            return {"Text files (*.txt)", "Textdateien (*.txt)", "Fichiers texte (*.txt)"};
        case Caption::Invalid:
            return {"Invalid", "Ungültig", "Non valide"};
        case Caption::DateFormatFrame:
            return {"CE/JC date format", "CE/JC-Datumsformat", "Format de date CE/JC"};
        case Caption::DateSeparatorFrame:
            return {"CE/JC date separator", "CE/JC-Datumstrennzeichen", "Séparateur de date CE/JC"};
        case Caption::ThousandsSeparatorFrame:
            return {"Thousands separator", "Tausendertrennzeichen", "Séparateur des milliers"};
        case Caption::ThousandsComma:
            return {"Comma: 1,000", "Komma: 1,000", "Virgule : 1,000"};
        case Caption::ThousandsDot:
            return {"Dot: 1.000", "Punkt: 1.000", "Point : 1.000"};
        case Caption::ThousandsNone:
            return {"None: 1000", "Keines: 1000", "Aucun : 1000"};
        case Caption::Hyphen:
            return {"Hyphen in ordinal and in ISO Week dates",
                    "Bindestrich in Ordinal- und ISO-Wochendaten",
                    "Trait d'union dans les dates ordinales et de semaine ISO"};
        case Caption::DisplayDayNames:
            return {"Display day names", "Wochentage anzeigen", "Afficher les noms des jours"};
        case Caption::MaxNumErrors:
            return {"Terminate processing if number of errors reaches:",
                    "Batchlauf abbrechen, sobald die Zahl der Fehler diesen Wert erreicht:",
                    "Arrêter le traitement quand le nombre d'erreurs atteint :"};
        case Caption::AutoEnlarge:
            return {"Auto Enlarge when output from processing exceeds this number of bytes:",
                    "Ausgabe automatisch groß anzeigen, sobald sie diese Anzahl von Bytes "
                    "überschreitet:",
                    "Agrandir automatiquement quand la sortie du traitement dépasse ce nombre "
                    "d'octets :"};
        case Caption::Close:
            return {"Close", "Schließen", "Fermer"};
        case Caption::ValueTooLarge:
            return {"The largest value allowed is 32,767.", "Der größte zulässige Wert ist 32.767.",
                    "La plus grande valeur permise est 32 767."};
        case Caption::LimitNotANumber:
            return {"Please enter a whole number from 0 to 32,767.",
                    "Bitte eine ganze Zahl von 0 bis 32.767 eingeben.",
                    "Veuillez saisir un nombre entier de 0 à 32 767."};
        case Caption::OrderYMD:
            return {"Year Month Day", "Jahr Monat Tag", "Année Mois Jour"};
        case Caption::OrderDMY:
            return {"Day Month Year", "Tag Monat Jahr", "Jour Mois Année"};
        case Caption::OrderMDY:
            return {"Month Day Year", "Monat Tag Jahr", "Mois Jour Année"};
        case Caption::MonthDisplayTitle:
            return {"Month display", "Monatsanzeige", "Affichage du mois"};
        case Caption::Show:
            return {"Display", "Zeigen", "Afficher"};
        case Caption::PleaseSpecifyYear:
            return {"Please specify year", "Bitte Jahr angeben", "Veuillez indiquer l'année"};
        case Caption::InvalidInput:
            return {"Invalid input", "Ungültige Eingabe", "Saisie non valide"};
        case Caption::CommonEraCalendar:
            return {"Common Era Calendar", "Gregorianischer Kalender", "Calendrier grégorien"};
        case Caption::JulianCalendar:
            return {"Julian Calendar", "Julianischer Kalender", "Calendrier julien"};
        case Caption::Sunday:
            return {"Sunday", "Sonntag", "Dimanche"};
        case Caption::Monday:
            return {"Monday", "Montag", "Lundi"};
        case Caption::Gregorian:
            return {"Gregorian", "Gregorianisch", "Grégorien"};
        case Caption::Julian:
            return {"Julian", "Julianisch", "Julien"};
        case Caption::Year_:
            return {"Year", "Jahr", "Année"};
        case Caption::Month_:
            return {"Month", "Monat", "Mois"};
        case Caption::Next:
            return {"Next", "Nächster", "Suivant"};
        case Caption::Previous:
            return {"Previous", "Voriger", "Précédent"};
        case Caption::YearOutOfRange:
            return {"The year must lie between -5,800,000 and 5,800,000.",
                    "Das Jahr muss zwischen -5.800.000 und 5.800.000 liegen.",
                    "L'année doit être comprise entre -5 800 000 et 5 800 000."};
        case Caption::ClearColon:
            return {"Clear:", "Löschen:", "Effacer :"};
        case Caption::Or:
            return {"or", "oder", "ou"};
        case Caption::CancelThisOperation:
            return {"Cancel this operation", "Vorgang abbrechen", "Annuler cette opération"};
        case Caption::Continue:
            return {"Continue", "Fortfahren", "Continuer"};
        case Caption::BlockWithoutEnd:
            return {"Block without its end line", "Block ohne seine Endzeile",
                    "Bloc sans sa ligne de fin"};
        case Caption::EndOutsideCall:
            return {"End of a FUNCTION or SUB reached outside its call",
                    "Ende einer FUNCTION oder SUB außerhalb ihres Aufrufs erreicht",
                    "Fin d'une FUNCTION ou d'une SUB atteinte hors de son appel"};
        case Caption::CallsTooDeep:
            return {"Calls nested too deeply (more than 50 levels)",
                    "Aufrufe zu tief verschachtelt (mehr als 50 Ebenen)",
                    "Appels imbriqués trop profondément (plus de 50 niveaux)"};
        case Caption::ProgramTooLong:
            return {"The program has more than 32,500 lines",
                    "Das Programm hat mehr als 32.500 Zeilen",
                    "Le programme a plus de 32 500 lignes"};
        // working-day choice (%1, %2: the weekend days, the holiday set's name)
        case Caption::QualifierWeekendNamed:
            return {"not counting weekend days (%1)", "die Wochenendtage (%1) nicht gezählt",
                    "sans compter les jours de week-end (%1)"};
        case Caption::QualifierHolidays:
            return {"not counting weekend days and holidays (%1)",
                    "die Wochenendtage und Feiertage (%1) nicht gezählt",
                    "sans compter les jours de week-end ni les jours fériés (%1)"};
        case Caption::QualifierWeekendNamedHolidays:
            return {"not counting weekend days (%1) and holidays (%2)",
                    "die Wochenendtage (%1) und Feiertage (%2) nicht gezählt",
                    "sans compter les jours de week-end (%1) ni les jours fériés (%2)"};
        case Caption::QualifierHolidaysOnly:
            return {"not counting holidays (%1)", "die Feiertage (%1) nicht gezählt",
                    "sans compter les jours fériés (%1)"};
        case Caption::NoWeekendDays:
            return {"none", "keine", "aucun"};
        case Caption::WeekendDaysFrame:
            return {"Weekend days", "Wochenendtage", "Jours de week-end"};
        case Caption::HolidaysFrame:
            return {"Holidays", "Feiertage", "Jours fériés"};
        case Caption::NoHolidays:
            return {"None", "Keine", "Aucun"};
        case Caption::HolidayFind:
            return {"Find a country or region", "Land oder Region suchen",
                    "Chercher un pays ou une région"};
        case Caption::HolidayFileButton:
            return {"File...", "Datei...", "Fichier..."};
        case Caption::HolidayFileFilter:
            return {"Holiday files (*.txt);;All files (*)",
                    "Feiertagsdateien (*.txt);;Alle Dateien (*)",
                    "Fichiers de jours fériés (*.txt);;Tous les fichiers (*)"};
        case Caption::AllDaysWeekend:
            return {"At least one day of the week must be a working day.",
                    "Mindestens ein Wochentag muss ein Arbeitstag sein.",
                    "Au moins un jour de la semaine doit être un jour ouvré."};
        case Caption::HolidayFileNotLoaded:
            return {"The holiday file was not loaded; the previous choice stays:",
                    "Die Feiertagsdatei wurde nicht geladen; die bisherige Wahl bleibt:",
                    "Le fichier de jours fériés n'a pas été chargé ; le choix précédent est "
                    "conservé :"};
        // the date fields' choice of the world's calendars
        case Caption::OtherCalendar:
            return {"Other:", "Andere:", "Autre :"};
        case Caption::HelpTitle:
            return {"Daybridge help", "Daybridge-Hilfe", "Aide de Daybridge"};
        case Caption::HelpContents:
            return {"Contents", "Inhalt", "Sommaire"};
        case Caption::HelpBack:
            return {"Back", "Zurück", "Précédent"};
        case Caption::HelpForward:
            return {"Forward", "Vorwärts", "Suivant"};
        case Caption::HelpUserGuide:
            return {"User guide", "Anleitung", "Guide de l'utilisateur"};
        case Caption::HelpFind:
            return {"Find:", "Suchen:", "Rechercher :"};
        case Caption::HelpMatchOf:
            return {"%1 of %2", "%1 von %2", "%1 sur %2"};
        case Caption::HelpNoMatch:
            return {"Not found", "Nicht gefunden", "Introuvable"};
        case Caption::HelpGuideNotFound:
            return {"The user guide was not found. Daybridge looked for it here:",
                    "Die Anleitung wurde nicht gefunden. Daybridge hat hier nach ihr gesucht:",
                    "Le guide de l'utilisateur est introuvable. Daybridge l'a cherché ici :"};
        case Caption::HelpLinkedGuideNotFound:
            return {"This guide was not found:", "Diese Anleitung wurde nicht gefunden:",
                    "Ce guide est introuvable :"};
        case Caption::Count_:
            break;
    }
    return {"", "", ""};
}

// Rows 0..9 of the computation messages by language number; 2 and 7 are not used.
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
    {"Si la première et la seconde date sont toutes deux indiquées, le champ de l'écart doit "
     "être vide.",
     "La première date n'est pas valide dans le calendrier et le format de date indiqués.", "",
     "La première date est hors limites.", "L'écart entre les dates n'est pas valide.",
     "L'écart entre les dates est hors limites.",
     "La seconde date n'est pas valide dans le calendrier et le format de date indiqués.", "",
     "La seconde date est hors limites.", "Le résultat est hors limites."},
}};

}  // namespace

QString CaptionText(Caption caption, Language language) {
    const CaptionTexts texts = CaptionTextsOf(caption);
    const std::array<const char*, 3> byLanguage = {texts.english, texts.german, texts.french};
    return QString::fromUtf8(byLanguage[static_cast<std::size_t>(LanguageNumber(language))]);
}

Caption LanguageCaption(Language language) {
    switch (language) {
        case Language::German:
            return Caption::German;
        case Language::French:
            return Caption::French;
        case Language::English:
            break;
    }
    return Caption::English;
}

QString WeekendDayNamesIn(std::uint8_t weekend, Language language) {
    QStringList days;
    for (int day = 0; day < 7; ++day) {
        if (((weekend >> day) & 1) != 0) {
            days << DayNameIn((day + 1) % 7, language);  // Monday first
        }
    }
    return days.isEmpty() ? GetText(302, language) : days.join(QStringLiteral(", "));
}

QString ComputeMessage(ComputeMessageRow row, Language language) {
    return QString::fromUtf8(kComputeMessages[static_cast<std::size_t>(LanguageNumber(language))]
                                             [static_cast<std::size_t>(row)]);
}

}  // namespace daybridge
