// The built-in caption tables: one text per interface language for every caption of the
// windows and for the words the compute engine and the batch language write into the output.
#pragma once

#include <QString>
#include <cstdint>

#include "calendar/names.h"  // the language numbers, day and month names

namespace daybridge {

enum class Caption {
    // main window buttons
    Compute,
    Today,
    Reset,
    Configure,
    Quit,
    Clear,
    SecondToFirst,
    DisplayMonth,
    Enlarge,
    View,
    Remove,
    InputFile,
    ProcessFile,
    Stop,
    CopyToClipboard,
    CopyAllToClipboard,  // the output windows: the whole text, as against the selection
    CopySelectedToClipboard,
    EnlargedOutput,  // the enlarged output window's title
    // main window labels
    FirstDate,
    SecondDate,
    DateDifference,
    ThisIsA,
    CalCE,
    CalJC,
    CalORD,
    CalJDN,
    CalISO,
    CalLPM,
    CalLPW,
    IncludeFirstDate,
    IncludeWeekends,
    Verbose,
    SaveOutput,
    ClickToChangeCalendar,
    OnlineDocumentation,
    VelmoraSystems,
    Language,
    English,
    German,
    French,
    TodayIs,
    WeekFromTodayIs,
    FiveDayWeekFromTodayIs,
    OutputWindow,
    OutputWindowEmpty,
    // words of the output
    Day,
    Days,
    Week,
    Weeks,
    Month,
    Months,
    Year,
    Years,
    To,
    Plus,
    Minus,
    OutOfRange,
    ErrorWord,
    IncludingFirstDate,
    ExcludingFirstDate,
    NotCountingWeekendDays,
    // batch output
    InEffect,
    Line,
    IsInvalid,
    InadmissibleSeparator,
    FirstDateIncluded,
    FirstDateNotIncluded,
    WeekendsCounted,
    WeekendsNotCounted,
    HyphenOn,
    HyphenOff,
    DateFormatIs,
    FirstDateIs,
    SecondDateIs,
    AllThreeEmpty,
    OnlyDifferenceNonEmpty,
    AllThreeNonEmpty,
    ProcessingStopped,
    // input files
    FileNotFound,
    InputFileDoesNotExist,
    SpecifyInputFile,
    TextFilesFilter,
    Invalid,
    // configuration dialog
    DateFormatFrame,
    DateSeparatorFrame,
    ThousandsSeparatorFrame,
    ThousandsComma,
    ThousandsDot,
    ThousandsNone,
    Hyphen,
    DisplayDayNames,
    MaxNumErrors,
    AutoEnlarge,
    Close,
    ValueTooLarge,
    LimitNotANumber,
    OrderYMD,
    OrderDMY,
    OrderMDY,
    // month display
    MonthDisplayTitle,
    Show,
    PleaseSpecifyYear,
    InvalidInput,
    CommonEraCalendar,
    JulianCalendar,
    Sunday,
    Monday,
    Gregorian,
    Julian,
    Year_,
    Month_,
    Next,
    Previous,
    YearOutOfRange,
    // clear-one dialog
    ClearColon,
    Or,
    CancelThisOperation,
    Continue,
    // batch structure errors that end a run
    BlockWithoutEnd,
    EndOutsideCall,
    CallsTooDeep,
    ProgramTooLong,
    // working-day choice: the qualifier of a result and the configuration dialog
    QualifierWeekendNamed,
    QualifierHolidays,
    QualifierWeekendNamedHolidays,
    QualifierHolidaysOnly,
    NoWeekendDays,
    WeekendDaysFrame,
    HolidaysFrame,
    NoHolidays,
    HolidayFileButton,
    HolidayFileFilter,
    HolidayFind,  // the placeholder of the box that narrows the list of sets
    AllDaysWeekend,
    HolidayFileNotLoaded,
    // the date fields' choice of the world's calendars
    OtherCalendar,
    // the help window
    HelpTitle,
    HelpContents,
    HelpBack,
    HelpForward,
    HelpUserGuide,
    HelpFind,
    HelpMatchOf,  // "%1 of %2" matches
    HelpNoMatch,
    HelpGuideNotFound,        // followed by the paths looked at
    HelpLinkedGuideNotFound,  // followed by the path
    Count_                    // number of captions
};

// The caption in a language.
QString CaptionText(Caption caption, Language language);
// The caption that names a language in the language list.
Caption LanguageCaption(Language language);
// Weekend days (bit 0 Monday .. bit 6 Sunday) as day names, Monday first ("Saturday, Sunday"),
// or the text for none.
QString WeekendDayNamesIn(std::uint8_t weekend, Language language);
// The computation messages, by their rows in the described message table (rows 2 and 7 are not
// used).
enum class ComputeMessageRow : std::uint8_t {
    DifferenceMustBeEmpty = 0,  // both dates given: the difference field must be empty
    FirstDateInvalid = 1,
    FirstDateOutOfRange = 3,
    DifferenceInvalid = 4,
    DifferenceOutOfRange = 5,
    SecondDateInvalid = 6,
    SecondDateOutOfRange = 8,
    ResultOutOfRange = 9,
};
QString ComputeMessage(ComputeMessageRow row, Language language);

}  // namespace daybridge
