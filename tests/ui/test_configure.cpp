// The configuration dialog: live options, the hyphen rewrite of typed dates, the two batch
// limits and their refusals, the working days, and the state shown in the controls.

#include "calendar/gregorian_switch.h"
#include "calendar/week_fiscal_rules.h"
#include "compute/compute_engine.h"
#include "compute/result_text.h"
#include "env/holiday_files.h"
#include "support/program_text.h"
#include "ui/frm_configure.h"
#include "ui_test_support.h"

using namespace daybridge;
using namespace uitest;

namespace {

// The three option buttons, the two boxes and the two limits that `dialog` shows.
void CheckControls(QWidget& dialog, const QStringList& options, bool hyphen, bool dayNames,
                   const QString& errors, const QString& enlarge) {
    for (const QString& name : options) {
        QVERIFY2(Child<QRadioButton>(dialog, name)->isChecked(), qPrintable(name));
    }
    QCOMPARE(Child<QCheckBox>(dialog, "chkHyphen")->isChecked(), hyphen);
    QCOMPARE(Child<QCheckBox>(dialog, "chkDisplayDayNames")->isChecked(), dayNames);
    QCOMPARE(Child<QLineEdit>(dialog, "txbMaxNumErrors")->text(), errors);
    QCOMPARE(Child<QLineEdit>(dialog, "txbAutoEnlarge")->text(), enlarge);
}

}  // namespace

class TestConfigure : public QObject {
    Q_OBJECT

  private:
    AppState state_;
    frmConfigure* dialog_ = nullptr;
    std::vector<Box> boxes_;

    template <class T>
    T* W(const QString& name) {
        return Child<T>(*dialog_, name);
    }
    // Ticks or unticks the weekend boxes whose day numbers (0 Monday .. 6 Sunday) are listed.
    void ClickWeekend(const QString& days) {
        for (const QChar day : days) {
            W<QCheckBox>(QStringLiteral("chkWeekend") + day)->click();
        }
    }
    void ChooseSet(const QString& name) {
        auto* list = W<QComboBox>("cboHolidays");
        const int index = name.isEmpty() ? 0 : list->findData(name);
        QVERIFY(index >= 0);
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
    void FillFields() {
        state_.session.firstDateText = QStringLiteral("2012-12-31");
        state_.session.dateDiffText = QStringLiteral("10");
        state_.session.secondDateText = QStringLiteral("2013-01-10");
    }

  private slots:
    void init() {
        state_ = AppState{};
        boxes_.clear();
        dialog_ = new frmConfigure(state_);
        dialog_->SetMessageHook([this](const QString& title, const QString& text) {
            boxes_.push_back({title, text});
        });
        dialog_->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog_));
    }
    void cleanup() {
        delete dialog_;
        dialog_ = nullptr;
    }

    // The hyphen box rewrites an ordinal or ISO week date in both fields by its shape alone,
    // whatever their calendar, except a Julian day number; the fields are not cleared.
    void hyphenBoxRewritesBothFields() {
        // clang-format off
        const std::tuple<const char*, bool, const char*> cases[] = {
            {"2012100", true, "2012-100"},       {"  2012060 ", true, "2012-060"},
            {"2012-366", false, "2012366"},      {"2011-366", false, "2011-366"},  // not leap
            {"2012-100", true, "2012-100"},      {"2012100", false, "2012100"},
            {"2012W053", true, "2012-W05-3"},    {"2012-W05-3", false, "2012W053"},
            {"-44-W52-7", false, "-44W527"},     {"-44W527", true, "-44-W52-7"},
            {"2012-W05-3", true, "2012-W05-3"},  {"2012W543", true, "2012W543"},
            {"2012-W05-8", false, "2012-W05-8"}, {"2012-12-31", false, "2012-12-31"},
            {"2456293", true, "2456-293"},       {"", true, ""},  {"W", true, "W"}};
        // clang-format on
        QSignalSpy rewritten(dialog_, &frmConfigure::FieldsRewritten);
        QSignalSpy cleared(dialog_, &frmConfigure::ClearInputWindows);
        auto* box = W<QCheckBox>("chkHyphen");
        state_.settings.secondCalendar = CalendarId::LPW;
        for (const auto& [text, hyphen, expected] : cases) {
            box->setChecked(!hyphen);
            state_.session.firstDateText = state_.session.secondDateText =
                QString::fromLatin1(text);
            box->click();
            QCOMPARE(state_.settings.format.hyphen, hyphen);
            QCOMPARE(state_.session.firstDateText, QString::fromLatin1(expected));
            QCOMPARE(state_.session.secondDateText, QString::fromLatin1(expected));
        }
        state_.settings.firstCalendar = state_.settings.secondCalendar = CalendarId::JDN;
        state_.session.firstDateText = QStringLiteral("2456293");
        state_.session.secondDateText = QStringLiteral("2456-293");
        for (int i = 0; i < 2; ++i) {
            box->click();
            QCOMPARE(state_.session.firstDateText, QStringLiteral("2456293"));
            QCOMPARE(state_.session.secondDateText, QStringLiteral("2456-293"));
        }
        QCOMPARE(rewritten.count(), int(std::size(cases)) + 2);
        QCOMPARE(cleared.count(), 0);
    }

    // A limit: empty gives the default, 0..32767 its value; "too large" only for numbers.
    void readLimit() {
        // clang-format off
        const std::tuple<const char*, std::optional<int>, bool> cases[] = {
            {"", 777, false},     {"   ", 777, false},    {"0", 0, false},     {" 25 ", 25, false},
            {"+12", 12, false},   {"32767", 32767, false}, {"32768", {}, true}, {"65535", {}, true},
            {"999999999999999999999999", {}, true},       {"-1", {}, false},   {"abc", {}, false},
            {"12abc", {}, false}, {"+", {}, false},       {"1,000", {}, false}};
        // clang-format on
        for (const auto& [text, value, tooLarge] : cases) {
            bool large = !tooLarge;
            QCOMPARE(ReadLimit(QString::fromLatin1(text), 777, &large), value);
            QCOMPARE(large, tooLarge);
        }
    }

    // Close takes the two limits and hides the dialog, which shows them again when reopened
    // (zero errors as an empty field); a value that cannot be stored is refused with a message
    // and the dialog stays open, with the state unchanged, until it is mended.
    void limitsTakenOrRefusedOnClose() {
        struct Case {
            QString errors, enlarge, message;
            int savedErrors, savedEnlarge;
            QString shownErrors = {}, shownEnlarge = {};
        };
        const Case cases[] = {{"0", "", "", 0, kAutoEnlargeNever, "", ""},
                              {"5", "32767", "", 5, 32767, "5", "32767"},
                              {"40000", "250", "32,767", 1, 250},
                              {"1", "99999999999999999999", "32,767", 1, 250},
                              {"-3", "250", "whole number", 1, 250},
                              {"1", "lots", "whole number", 1, 250}};
        QSignalSpy closed(dialog_, &frmConfigure::Closed);
        for (const Case& c : cases) {
            state_ = AppState{};
            boxes_.clear();
            closed.clear();
            dialog_->show();
            W<QLineEdit>("txbMaxNumErrors")->setText(c.errors);
            W<QLineEdit>("txbAutoEnlarge")->setText(c.enlarge);
            W<QPushButton>("cmdClose")->click();
            QCOMPARE(state_.settings.maxNumErrors, c.savedErrors);
            QCOMPARE(state_.settings.autoEnlargeBytes, c.savedEnlarge);
            QCOMPARE(boxes_.size(), std::size_t(!c.message.isEmpty()));
            QCOMPARE(dialog_->isVisible(), !c.message.isEmpty());
            QCOMPARE(closed.count(), int(c.message.isEmpty()));
            if (c.message.isEmpty()) {
                dialog_->show();
                QCOMPARE(W<QLineEdit>("txbMaxNumErrors")->text(), c.shownErrors);
                QCOMPARE(W<QLineEdit>("txbAutoEnlarge")->text(), c.shownEnlarge);
                continue;
            }
            QVERIFY2(boxes_[0].text.contains(c.message), qPrintable(boxes_[0].text));
            W<QLineEdit>("txbMaxNumErrors")->setText(QStringLiteral("7"));
            W<QLineEdit>("txbAutoEnlarge")->setText(QStringLiteral("7"));
            W<QPushButton>("cmdClose")->click();  // mended, the dialog closes
            QCOMPARE(closed.count(), 1);
            QVERIFY(!dialog_->isVisible());
        }
        // Closed by the program, the dialog asks nothing and keeps only the values it can store.
        dialog_->show();
        W<QLineEdit>("txbMaxNumErrors")->setText(QStringLiteral("12"));
        W<QLineEdit>("txbAutoEnlarge")->setText(QStringLiteral("70000"));
        dialog_->close();
        QVERIFY(boxes_.size() == 1 && !dialog_->isVisible());
        QCOMPARE(state_.settings.maxNumErrors, 12);
        QCOMPARE(state_.settings.autoEnlargeBytes, 7);
    }

    // The switch day of the historical calendar: a date or a name is taken on Close and shown
    // as a date when reopened; anything else is refused and the dialog stays open on it.
    void gregorianSwitchTakenOrRefused() {
        const std::tuple<const char*, std::int64_t, const char*> cases[] = {
            {"1752-09-14", 2361222, "1752-09-14"},
            {" Britain ", 2361222, "1752-09-14"},
            {"rome", 2299161, "1582-10-15"},
            {"1918-02-14", 2421639, "1918-02-14"},
            {"0199-12-31", 0, nullptr},
            {"1752-9-14", 0, nullptr},
            {"", 0, nullptr}};
        for (const auto& [text, jdn, shown] : cases) {
            QVERIFY(SetGregorianSwitchJdn(2299161));
            boxes_.clear();
            dialog_->show();
            W<QLineEdit>("txbGregorianSwitch")->setText(QString::fromLatin1(text));
            W<QPushButton>("cmdClose")->click();
            QCOMPARE(dialog_->isVisible(), shown == nullptr);
            QCOMPARE(boxes_.size(), std::size_t(shown == nullptr));
            QCOMPARE(GregorianSwitchJdn(), shown == nullptr ? 2299161 : jdn);
            if (shown != nullptr) {
                dialog_->show();
                QCOMPARE(W<QLineEdit>("txbGregorianSwitch")->text(), QString::fromLatin1(shown));
            } else {
                QCOMPARE(dialog_->focusWidget(), W<QLineEdit>("txbGregorianSwitch"));
            }
            dialog_->hide();
        }
        QVERIFY(SetGregorianSwitchJdn(2299161));
    }

    // The week and fiscal rules: a text that reads is taken on Close and shown again in its
    // canonical form; one that does not keeps the dialog open on it and the rule unchanged.
    void weekAndFiscalRulesTakenOrRefused() {
        const std::tuple<const char*, const char*, const char*> cases[] = {
            {"txbWeekRule", " sun/full ", "SUN/FULL"},
            {"txbWeekRule", "1", "SUN/CALENDAR"},
            {"txbWeekRule", "sun/5days", nullptr},
            {"txbFiscalYear", "10", "OCT/END"},
            {"txbFiscalYear", "apr/start", "APR/START"},
            {"txbFiscalYear", "apr/begin", nullptr},
            {"txbFiscalWeeks", "nearest/sat/jan/454/12/start", "RETAIL"},
            {"txbFiscalWeeks", "last/sat/aug/445", "LAST/SAT/AUG/445/12/END"},
            {"txbFiscalWeeks", "last/sat/aug", nullptr}};
        for (const auto& [box, text, shown] : cases) {
            SetWeekDateRule(jdcore::kIsoWeeks);
            SetMonthFiscalYearRule(kDefaultMonthFiscalRule);
            SetWeekFiscalYearRule(jdcore::kRetail454);
            boxes_.clear();
            dialog_->show();
            const QString before = W<QLineEdit>(box)->text();
            W<QLineEdit>(box)->setText(QString::fromLatin1(text));
            W<QPushButton>("cmdClose")->click();
            QCOMPARE(dialog_->isVisible(), shown == nullptr);
            QCOMPARE(boxes_.size(), std::size_t(shown == nullptr));
            if (shown != nullptr) {
                dialog_->show();
                QCOMPARE(W<QLineEdit>(box)->text(), QString::fromLatin1(shown));
            } else {
                QCOMPARE(dialog_->focusWidget(), W<QLineEdit>(box));
                W<QLineEdit>(box)->setText(before);
            }
            dialog_->hide();
        }
        SetWeekDateRule(jdcore::kIsoWeeks);
        SetMonthFiscalYearRule(kDefaultMonthFiscalRule);
        SetWeekFiscalYearRule(jdcore::kRetail454);
    }

    // Each option writes the state at once, which a new dialog shows; RefreshFromState shows
    // another state (the built-in one here) without clearing the fields. A new date order or
    // separator empties the three fields and asks for new today labels; the thousands separator
    // leaves them. The separator captions show the date order. The dialog is not modal and
    // shows every caption whole.
    void stateShownInTheControls() {
        QVERIFY(!dialog_->isModal());
        dialog_->adjustSize();
        for (QAbstractButton* button : dialog_->findChildren<QAbstractButton*>()) {
            QVERIFY2(button->width() >= button->sizeHint().width(),
                     qPrintable(button->objectName()));
        }
        const std::tuple<QString, QString, QString, QString, bool, bool, QString, QString> cases[] =
            {{"optDateFormatIsDMY", "31.12.2012", "optSeparatorIsDot", "optThousSepNone", false,
              false, "", ""},
             {"optDateFormatIsMDY", "12.31.2012", "optSeparatorIsSlash", "optThousSepIsDot", true,
              false, "32767", "0"},
             {"optDateFormatIsYMD", "2012.12.31", "optSeparatorIsDash", "optThousSepIsComma", false,
              true, "3", "4096"}};
        for (std::size_t row = 0; row < std::size(cases); ++row) {
            const auto& [order, dotCaption, separator, thousands, hyphen, dayNames, errors,
                         enlarge] = cases[row];
            const auto& other = cases[(row + 1) % std::size(cases)];  // every option differs
            for (const QString& name :
                 {std::get<0>(other), std::get<2>(other), std::get<3>(other)}) {
                W<QRadioButton>(name)->click();
            }
            FillFields();
            QSignalSpy cleared(dialog_, &frmConfigure::ClearInputWindows);
            QSignalSpy today(dialog_, &frmConfigure::ShowTodaysDate);
            W<QRadioButton>(order)->click();
            QCOMPARE(Plain(W<QRadioButton>("optSeparatorIsDot")->text()), dotCaption);
            QVERIFY(state_.session.firstDateText.isEmpty() &&
                    state_.session.secondDateText.isEmpty());
            FillFields();
            W<QRadioButton>(separator)->click();
            QVERIFY(state_.session.firstDateText.isEmpty() &&
                    state_.session.dateDiffText.isEmpty());
            FillFields();
            W<QRadioButton>(thousands)->click();
            QCOMPARE(cleared.count(), 2);
            QCOMPARE(today.count(), 2);
            QVERIFY(!state_.session.firstDateText.isEmpty() &&
                    !state_.session.secondDateText.isEmpty());
            if (!hyphen) {
                W<QCheckBox>("chkHyphen")->click();
            }
            if (!dayNames) {
                W<QCheckBox>("chkDisplayDayNames")->click();
            }
            W<QLineEdit>("txbMaxNumErrors")->setText(errors);
            W<QLineEdit>("txbAutoEnlarge")->setText(enlarge);
            W<QPushButton>("cmdClose")->click();
            QVERIFY(boxes_.empty());
            AppState chosen = state_;

            state_ = AppState{};
            FillFields();
            cleared.clear();
            dialog_->RefreshFromState();
            CheckControls(*dialog_,
                          {"optDateFormatIsYMD", "optSeparatorIsDash", "optThousSepIsComma"}, true,
                          true, "1", "250");
            QCOMPARE(Plain(W<QRadioButton>("optSeparatorIsDot")->text()),
                     QStringLiteral("2012.12.31"));
            QCOMPARE(cleared.count(), 0);
            QCOMPARE(state_.session.firstDateText, QStringLiteral("2012-12-31"));

            frmConfigure again(chosen);
            again.show();
            CheckControls(again, {order, separator, thousands}, hyphen, dayNames,
                          errors == QLatin1String("0") ? QString() : errors, enlarge);
        }
    }

    // The weekend boxes and the holiday set change what is counted and the qualifier. From
    // Wednesday 2026-12-23 to Monday 2026-12-28, first date excluded: Thursday 24, Friday 25,
    // (Saturday 26, Sunday 27), Monday 28; in Germany 25 and 26 are holidays.
    void workdayChoiceChangesTheResult() {
        const std::tuple<const char*, const char*, Language, QString, QString> cases[] = {
            {"", "", kEnglish, "3 days", "not counting weekend days"},
            {"", "germany", kEnglish, "2 days", "not counting weekend days and holidays (germany)"},
            {"", "germany", kGerman, "2 Tage",
             "die Wochenendtage und Feiertage (germany) nicht gezählt"},
            // Friday and Saturday off: Sunday 27 counts, Friday 25 does not.
            {"46", "", kEnglish, "3 days", "not counting weekend days (Fri, Sat)"},
            {"46", "germany", kGerman, "3 Tage",
             "die Wochenendtage (Fr, Sa) und Feiertage (germany) nicht gezählt"},
            {"56", "germany", kEnglish, "3 days", "not counting holidays (germany)"}};
        for (const auto& [clicks, set, language, count, qualifier] : cases) {
            state_ = AppState{};
            dialog_->RefreshFromState();
            QSignalSpy changed(dialog_, &frmConfigure::WorkdaysChanged);
            ClickWeekend(QString::fromLatin1(clicks));
            ChooseSet(QString::fromLatin1(set));
            QCOMPARE(changed.size(), int(qstrlen(clicks)) + 1);
            QVERIFY(boxes_.empty());
            state_.settings.language = language;
            state_.settings.includeWeekends = false;
            state_.settings.format.regional = QLocale::c();
            state_.GetParameters();
            daybridge::testing::RecordingHost host;
            ComputeEngine engine(state_);
            QString first = QStringLiteral("2026-12-23"), difference,
                    second = QStringLiteral("2026-12-28");
            QVERIFY(ComputeAndShow(engine, state_, host, first, difference, second));
            const QString line = host.output().text().trimmed();
            QVERIFY2(line.contains(QStringLiteral(" = ") + count + QStringLiteral(", ")),
                     qPrintable(line));
            QVERIFY2(line.endsWith(QStringLiteral(", ") + qualifier), qPrintable(line));
        }
    }

    void allSevenWeekendDaysRefused() {
        ClickWeekend(QStringLiteral("0123"));
        QCOMPARE(state_.settings.workdays.weekend(), 0x6f);
        ClickWeekend(QStringLiteral("4"));
        QCOMPARE(boxes_.size(), std::size_t{1});
        QCOMPARE(boxes_[0].text, state_.settings.Caption(Caption::AllDaysWeekend));
        QCOMPARE(state_.settings.workdays.weekend(), 0x6f);
        QVERIFY(!W<QCheckBox>("chkWeekend4")->isChecked());
    }

    // A weekend and a holiday set that together leave no working day are refused, whichever
    // is chosen last; the calendar in force stays and the controls show it.
    void noWorkingDayRefusedEitherWay() {
        QVERIFY(daybridge::testing::LoadShippedTexts());  // the German message
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("mondays.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        for (int month = 1; month <= 12; ++month) {
            for (const char* nth : {"first", "second", "third", "fourth", "last"}) {
                file.write(QByteArray(nth) + " monday of " + QByteArray::number(month) +
                           " : Monday\n");
            }
        }
        file.close();
        // English: the set chosen last; German: Sunday ticked last.
        const std::tuple<bool, Language, const char*, const char*> cases[] = {
            {true, kEnglish, "(Tuesday, Wednesday, Thursday, Friday, Saturday, Sunday) the holiday",
             "mondays.txt leaves no working day"},
            {false, kGerman, "(Dienstag, Mittwoch, Donnerstag, Freitag, Samstag, Sonntag) lässt",
             "mondays.txt keinen einzigen Arbeitstag"}};
        for (const auto& [setLast, language, days, set] : cases) {
            cleanup();
            init();
            state_.settings.language = language;
            dialog_->SetFileHook([path] { return path; });
            // Saturday and Sunday are ticked to begin with.
            ClickWeekend(setLast ? QStringLiteral("1234") : QStringLiteral("12346"));
            W<QPushButton>("cmdHolidayFile")->click();
            if (!setLast) {
                QVERIFY(boxes_.empty());
                ClickWeekend(QStringLiteral("6"));
            }
            QCOMPARE(boxes_.size(), std::size_t{1});
            for (const char* said : {days, set}) {
                QVERIFY2(boxes_[0].text.contains(QString::fromUtf8(said)),
                         qPrintable(boxes_[0].text));
            }
            QVERIFY(state_.settings.workdays.HasWorkday());
            QCOMPARE(W<QCheckBox>("chkWeekend6")->isChecked(), setLast);
            QCOMPARE(state_.settings.workdays.holidays() != nullptr, !setLast);
        }
    }

    // The find box narrows the list of sets by title, name or region; "None" and the set in
    // force stay listed, and clearing the box lists every set again.
    void findBoxNarrowsTheSets() {
        auto* list = W<QComboBox>("cboHolidays");
        const int all = list->count();
        QCOMPARE(all, int(ShippedHolidaySetNames().size()) + 1);  // and None
        ChooseSet(QStringLiteral("germany"));
        for (const char* text : {"STATES", "wales", "no such place"}) {
            const QString find = QString::fromLatin1(text);
            W<QLineEdit>("txbHolidayFind")->setText(find);
            QCOMPARE(list->itemData(0).toString(), QString());
            QCOMPARE(list->currentData().toString(), QStringLiteral("germany"));
            QStringList listed;
            for (int i = 1; i < list->count(); ++i) {
                const QString name = list->itemData(i).toString();
                listed << name;
                QVERIFY2(name == QLatin1String("germany") ||
                             name.contains(find, Qt::CaseInsensitive) ||
                             list->itemText(i).contains(find, Qt::CaseInsensitive),
                         qPrintable(name));
            }
            for (const QString& name : ShippedHolidaySetNames()) {
                QVERIFY2(!name.contains(find, Qt::CaseInsensitive) || listed.contains(name),
                         qPrintable(name));
            }
        }
        W<QLineEdit>("txbHolidayFind")->clear();
        QCOMPARE(list->count(), all);
    }

    // A holiday file that does not load is refused with the parser's reason; the set chosen
    // before stays, in the state and in the list.
    void badHolidayFileRefusedOldKept() {
        const std::pair<QByteArray, QString> cases[] = {
            {"01-01 : New Year\n12-25\n", "line 2: a ':' and the holiday's name"},
            {"", "does not exist"}};  // missing
        for (const auto& [content, reason] : cases) {
            QTemporaryDir dir;
            const QString path = dir.filePath(QStringLiteral("mine.txt"));
            QFile file(path);
            QVERIFY(content.isEmpty() || (file.open(QIODevice::WriteOnly) && file.write(content)));
            file.close();
            boxes_.clear();
            ChooseSet(QStringLiteral("germany"));
            dialog_->SetFileHook([path] { return path; });
            W<QPushButton>("cmdHolidayFile")->click();
            QCOMPARE(boxes_.size(), std::size_t{1});
            QVERIFY2(boxes_[0].text.contains(reason), qPrintable(boxes_[0].text));
            QVERIFY(state_.settings.workdays.holidays() != nullptr);
            QCOMPARE(state_.settings.workdays.holidays()->name, QStringLiteral("germany"));
            QCOMPARE(W<QComboBox>("cboHolidays")->currentData().toString(),
                     QStringLiteral("germany"));
        }
    }

    // The categories that count and half days: ticked, they count; ticking the set's own
    // categories again leaves the choice to the set.
    void holidayCategoriesAndHalfDays() {
        ChooseSet(QStringLiteral("brazil"));
        const std::int64_t corpusChristi = 2461196;  // 2026-06-04, an optional day
        const std::int64_t christmasEve = 2461399;   // 2026-12-24
        QVERIFY(!W<QCheckBox>("chkCategory4")->isChecked());
        QVERIFY(!state_.settings.workdays.IsHoliday(corpusChristi));
        W<QCheckBox>("chkCategory4")->click();
        QCOMPARE(state_.settings.workdays.selection().categories,
                 std::optional<std::uint8_t>(1 | 2 | 16));
        QVERIFY(state_.settings.workdays.IsHoliday(corpusChristi));
        W<QCheckBox>("chkCategory4")->click();
        QVERIFY(!state_.settings.workdays.selection().categories.has_value());

        ChooseSet(QStringLiteral("iceland"));
        QVERIFY(!state_.settings.workdays.IsHoliday(christmasEve));
        W<QCheckBox>("chkHalfDays")->click();
        QVERIFY(state_.settings.workdays.selection().halfDays);
        QVERIFY(state_.settings.workdays.IsHoliday(christmasEve));
        W<QCheckBox>("chkHalfDays")->click();
        QVERIFY(!state_.settings.workdays.IsHoliday(christmasEve));
    }

    // The choice comes back after a restart, from daybridge.conf; dbrg.usr is written byte for
    // byte as without it. A saved set that no longer loads gives no holidays and a notice.
    void workdayChoiceSurvivesRestart() {
        IsolatedConfig config;
        QTemporaryDir dir;
        const QString rules = dir.filePath(QStringLiteral("mine.txt"));
        QFile file(rules);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("12-24 : Christmas Eve\n");
        file.close();
        QByteArray plainSettings;
        for (int run = 0; run < 4; ++run) {
            RecordingHost host;
            auto w = StartWindow(host);
            QVERIFY(w);
            Child<QPushButton>(*w, "cmdConfigure")->click();
            frmConfigure& configure = *w->configureDialog();
            const WorkdayCalendar& workdays = w->state().settings.workdays;
            if (run == 0) {
                QVERIFY(workdays.IsDefault());
            } else if (run == 1) {
                configure.SetFileHook([rules] { return rules; });
                Child<QCheckBox>(configure, "chkWeekend4")->click();
                Child<QPushButton>(configure, "cmdHolidayFile")->click();
                Child<QCheckBox>(configure, "chkHalfDays")->click();
            } else if (run == 2) {
                QVERIFY(workdays.selection().halfDays);
                QVERIFY(Child<QCheckBox>(configure, "chkHalfDays")->isChecked());
                QVERIFY(host.boxes.empty());
                QCOMPARE(workdays.weekend(), 0x70);
                QVERIFY(Child<QCheckBox>(configure, "chkWeekend4")->isChecked());
                QCOMPARE(Child<QComboBox>(configure, "cboHolidays")->currentText(), rules);
                QVERIFY(workdays.IsHoliday(2461399));  // 2026-12-24
                QVERIFY(file.remove());
            } else {
                QCOMPARE(host.boxes.size(), std::size_t{1});
                QVERIFY2(host.boxes[0].text.contains(rules), qPrintable(host.boxes[0].text));
                QCOMPARE(workdays.weekend(), 0x70);
                QVERIFY(workdays.holidays() == nullptr);
                // Reset brings the built-in working days back, in the dialog too.
                host.boxAnswers.push_back(MsgAnswer::Yes);
                Child<QPushButton>(*w, "cmdReset")->click();
                QVERIFY(workdays.IsDefault());
                QVERIFY(!Child<QCheckBox>(configure, "chkWeekend4")->isChecked());
            }
            Child<QPushButton>(*w, "cmdQuit")->click();
            QFile settings(config.settingsFile());
            QVERIFY(settings.open(QIODevice::ReadOnly));
            const QByteArray bytes = settings.readAll();
            if (run == 0) {
                plainSettings = bytes;
            }
            QCOMPARE(bytes, plainSettings);
        }
    }
};

QTEST_MAIN(TestConfigure)
#include "test_configure.moc"
