// The configuration dialog: live options, the hyphen rewrite of typed dates, the two batch
// limits and their refusals, colours and captions, and the settings round trip.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "compute/compute_engine.h"
#include "env/holiday_files.h"
#include "env/settings_file.h"
#include "env/side_settings.h"
#include "ui/frm_configure.h"
#include "ui_test_support.h"
#include "window_fixture.h"

using namespace daybridge;

using namespace uitest;

class TestConfigure : public QObject {
    Q_OBJECT

  private:
    AppState state_;
    frmConfigure* dialog_ = nullptr;
    std::vector<Box> boxes_;

    template <class T>
    T* W(const char* name) {
        return Find<T>(*dialog_, name);
    }
    // Ticks or unticks the weekend boxes whose day numbers (0 Monday .. 6 Sunday) are listed.
    void ClickWeekend(const QString& days) {
        for (const QChar day : days) {
            W<QCheckBox>(("chkWeekend" + QByteArray(1, day.toLatin1())).constData())->click();
        }
    }
    void ChooseSet(const QString& name) {
        auto* list = W<QComboBox>("cboHolidays");
        const int index = name.isEmpty() ? 0 : list->findText(name);
        QVERIFY(index >= 0);
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
    void FillFields() {
        state_.firstDateText = QStringLiteral("2012-12-31");
        state_.dateDiffText = QStringLiteral("10");
        state_.secondDateText = QStringLiteral("2013-01-10");
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

    void defaultsShown() {
        QVERIFY(W<QRadioButton>("optDateFormatIsYMD")->isChecked());
        QVERIFY(W<QRadioButton>("optSeparatorIsDash")->isChecked());
        QVERIFY(W<QRadioButton>("optThousSepIsComma")->isChecked());
        QVERIFY(W<QCheckBox>("chkHyphen")->isChecked());
        QVERIFY(W<QCheckBox>("chkDisplayDayNames")->isChecked());
        QCOMPARE(W<QLineEdit>("txbMaxNumErrors")->text(), QStringLiteral("1"));
        QCOMPARE(W<QLineEdit>("txbAutoEnlarge")->text(), QStringLiteral("250"));
        QVERIFY(!dialog_->isModal());
    }

    void coloursOfFramesLabelsAndOptions() {
        const QColor background(192, 255, 255);
        for (const char* name : {"Frame1", "Frame4", "lblDateFormat", "lblDateSeparator",
                                 "lblThousandsSeparator", "lblMaxNumErrors", "lblAutoEnlarge",
                                 "optDateFormatIsYMD", "optSeparatorIsDot", "optThousSepNone"}) {
            QWidget* widget = W<QWidget>(name);
            QCOMPARE(widget->palette().color(QPalette::Window), background);
            QCOMPARE(widget->palette().color(QPalette::WindowText), QColor(Qt::black));
        }
    }

    void separatorCaptionsFollowTheDateOrder_data() {
        QTest::addColumn<QString>("order");
        QTest::addColumn<int>("code");
        Columns<QString>({"dash", "slash", "dot"});
        Row("DMY", "optDateFormatIsDMY", kDateFormatDMY, "31-12-2012", "31/12/2012", "31.12.2012");
        Row("MDY", "optDateFormatIsMDY", kDateFormatMDY, "12-31-2012", "12/31/2012", "12.31.2012");
        Row("YMD", "optDateFormatIsYMD", kDateFormatYMD, "2012-12-31", "2012/12/31", "2012.12.31");
    }
    void separatorCaptionsFollowTheDateOrder() {
        QFETCH(QString, order);
        QFETCH(int, code);
        QFETCH(QString, dash);
        QFETCH(QString, slash);
        QFETCH(QString, dot);
        if (code == kDateFormatYMD) {
            W<QRadioButton>("optDateFormatIsMDY")->click();  // away and back
        }
        FillFields();
        QSignalSpy cleared(dialog_, &frmConfigure::ClearInputWindows);
        QSignalSpy today(dialog_, &frmConfigure::ShowTodaysDate);
        Find<QRadioButton>(*dialog_, order.toLatin1().constData())->click();
        QCOMPARE(state_.format.dateFormat, code);
        QCOMPARE(Plain(W<QRadioButton>("optSeparatorIsDash")->text()), dash);
        QCOMPARE(Plain(W<QRadioButton>("optSeparatorIsSlash")->text()), slash);
        QCOMPARE(Plain(W<QRadioButton>("optSeparatorIsDot")->text()), dot);
        QCOMPARE(cleared.count(), 1);
        QCOMPARE(today.count(), 1);
        QVERIFY(state_.firstDateText.isEmpty());
        QVERIFY(state_.dateDiffText.isEmpty());
        QVERIFY(state_.secondDateText.isEmpty());
    }

    void separatorChangeClearsTheFields() {
        W<QRadioButton>("optDateFormatIsMDY")->click();
        FillFields();
        QSignalSpy cleared(dialog_, &frmConfigure::ClearInputWindows);
        QSignalSpy today(dialog_, &frmConfigure::ShowTodaysDate);
        W<QRadioButton>("optSeparatorIsSlash")->click();
        QCOMPARE(state_.format.dateSeparator, QStringLiteral("/"));
        QCOMPARE(cleared.count(), 1);
        QCOMPARE(today.count(), 1);
        QVERIFY(state_.firstDateText.isEmpty() && state_.secondDateText.isEmpty());
        QVERIFY(state_.dateDiffText.isEmpty());
        // Today's labels are written in the new form: 12/31/2012 style under MDY.
        QCOMPARE(state_.CurrentFormat().dateSeparator, QStringLiteral("/"));
        QCOMPARE(state_.CurrentFormat().dateFormat, kDateFormatMDY);
        W<QRadioButton>("optSeparatorIsDot")->click();
        QCOMPARE(state_.format.dateSeparator, QStringLiteral("."));
        W<QRadioButton>("optSeparatorIsDash")->click();
        QCOMPARE(state_.format.dateSeparator, QStringLiteral("-"));
        QCOMPARE(cleared.count(), 3);
    }

    void thousandsChangeLeavesTheFields() {
        FillFields();
        QSignalSpy cleared(dialog_, &frmConfigure::ClearInputWindows);
        QSignalSpy today(dialog_, &frmConfigure::ShowTodaysDate);
        W<QRadioButton>("optThousSepIsDot")->click();
        QCOMPARE(state_.format.thousandsSeparator, QStringLiteral("."));
        W<QRadioButton>("optThousSepNone")->click();
        QVERIFY(state_.format.thousandsSeparator.isEmpty());
        W<QRadioButton>("optThousSepIsComma")->click();
        QCOMPARE(state_.format.thousandsSeparator, QStringLiteral(","));
        QCOMPARE(cleared.count(), 0);
        QCOMPARE(today.count(), 0);
        QCOMPARE(state_.firstDateText, QStringLiteral("2012-12-31"));
        QCOMPARE(state_.dateDiffText, QStringLiteral("10"));
        QCOMPARE(state_.secondDateText, QStringLiteral("2013-01-10"));
    }

    void hyphenRewrite_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("hyphen");
        QTest::addColumn<QString>("expected");
        Row("ordinal on", "2012100", true, "2012-100");
        Row("ordinal on, blanks", "  2012060 ", true, "2012-060");
        Row("ordinal off", "2012-366", false, "2012366");
        Row("not a leap year", "2011-366", false, "2011-366");
        Row("ordinal already on", "2012-100", true, "2012-100");
        Row("ordinal already off", "2012100", false, "2012100");
        Row("iso on", "2012W053", true, "2012-W05-3");
        Row("iso off", "2012-W05-3", false, "2012W053");
        Row("iso negative off", "-44-W52-7", false, "-44W527");
        Row("iso negative on", "-44W527", true, "-44-W52-7");
        Row("iso already on", "2012-W05-3", true, "2012-W05-3");
        Row("iso week 54", "2012W543", true, "2012W543");
        Row("iso weekday 8", "2012-W05-8", false, "2012-W05-8");
        Row("CE date", "2012-12-31", false, "2012-12-31");
        Row("JDN shape", "2456293", true, "2456-293");
        Row("empty", "", true, "");
        Row("letters", "W", true, "W");
    }
    void hyphenRewrite() {
        QFETCH(QString, text);
        QFETCH(bool, hyphen);
        QFETCH(QString, expected);
        QCOMPARE(RewriteForHyphen(text, hyphen), expected);
    }

    void hyphenBoxRewritesBothFields() {
        QSignalSpy rewritten(dialog_, &frmConfigure::FieldsRewritten);
        QSignalSpy cleared(dialog_, &frmConfigure::ClearInputWindows);
        state_.firstDateText = QStringLiteral("2012-100");
        state_.secondDateText = QStringLiteral(" 2012-W05-3 ");
        W<QCheckBox>("chkHyphen")->click();  // off
        QVERIFY(!state_.format.hyphen);
        QCOMPARE(state_.firstDateText, QStringLiteral("2012100"));
        QCOMPARE(state_.secondDateText, QStringLiteral("2012W053"));
        W<QCheckBox>("chkHyphen")->click();  // on again
        QVERIFY(state_.format.hyphen);
        QCOMPARE(state_.firstDateText, QStringLiteral("2012-100"));
        QCOMPARE(state_.secondDateText, QStringLiteral("2012-W05-3"));
        QCOMPARE(rewritten.count(), 2);
        QCOMPARE(cleared.count(), 0);
    }

    void hyphenBoxRewritesOrdinalShapesWhateverTheCalendar() {
        state_.firstCalendar = kCE;
        state_.secondCalendar = kLPW;
        state_.firstDateText = QStringLiteral("2012100");
        state_.secondDateText = QStringLiteral("2012W053");
        W<QCheckBox>("chkHyphen")->click();  // off
        W<QCheckBox>("chkHyphen")->click();  // on
        QCOMPARE(state_.firstDateText, QStringLiteral("2012-100"));
        QCOMPARE(state_.secondDateText, QStringLiteral("2012-W05-3"));
    }

    void hyphenBoxLeavesJulianDayNumbers() {
        state_.firstCalendar = kJDN;
        state_.secondCalendar = kJDN;
        state_.firstDateText = QStringLiteral("2456293");
        state_.secondDateText = QStringLiteral("2456-293");
        W<QCheckBox>("chkHyphen")->click();  // off
        QCOMPARE(state_.secondDateText, QStringLiteral("2456-293"));
        W<QCheckBox>("chkHyphen")->click();  // on
        QCOMPARE(state_.firstDateText, QStringLiteral("2456293"));
    }

    void readLimit_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("tooLarge");
        Row("empty", "", true, 777, false);
        Row("blanks", "   ", true, 777, false);
        Row("zero", "0", true, 0, false);
        Row("plain", " 25 ", true, 25, false);
        Row("plus", "+12", true, 12, false);
        Row("largest", "32767", true, 32767, false);
        Row("one above", "32768", false, 0, true);
        Row("never typed", "65535", false, 0, true);
        Row("huge", "999999999999999999999999", false, 0, true);
        Row("negative", "-1", false, 0, false);
        Row("letters", "abc", false, 0, false);
        Row("trailing letters", "12abc", false, 0, false);
        Row("sign only", "+", false, 0, false);
        Row("grouped", "1,000", false, 0, false);
    }
    void readLimit() {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(int, value);
        QFETCH(bool, tooLarge);
        bool large = !tooLarge;
        const std::optional<int> read = ReadLimit(text, 777, &large);
        QCOMPARE(read.has_value(), ok);
        if (ok) {
            QCOMPARE(*read, value);
        }
        QCOMPARE(large, tooLarge);
    }

    void emptyAndZeroLimitsShowEmptyOnReopen() {
        QSignalSpy closed(dialog_, &frmConfigure::Closed);
        W<QLineEdit>("txbMaxNumErrors")->setText(QStringLiteral("0"));
        W<QLineEdit>("txbAutoEnlarge")->setText(QString());
        W<QPushButton>("cmdClose")->click();
        QVERIFY(boxes_.empty());
        QVERIFY(!dialog_->isVisible());
        QCOMPARE(closed.count(), 1);
        QCOMPARE(state_.maxNumErrors, 0);
        QCOMPARE(state_.autoEnlargeBytes, kAutoEnlargeNever);
        dialog_->show();
        QVERIFY(W<QLineEdit>("txbMaxNumErrors")->text().isEmpty());
        QVERIFY(W<QLineEdit>("txbAutoEnlarge")->text().isEmpty());

        W<QLineEdit>("txbMaxNumErrors")->setText(QStringLiteral("5"));
        W<QLineEdit>("txbAutoEnlarge")->setText(QStringLiteral("32767"));
        W<QPushButton>("cmdClose")->click();
        QCOMPARE(state_.maxNumErrors, 5);
        QCOMPARE(state_.autoEnlargeBytes, 32767);
        dialog_->show();
        QCOMPARE(W<QLineEdit>("txbMaxNumErrors")->text(), QStringLiteral("5"));
        QCOMPARE(W<QLineEdit>("txbAutoEnlarge")->text(), QStringLiteral("32767"));
    }

    void limitsAboveTheLargestValueAreRefused_data() {
        Columns<QString>({"field", "text", "message"});
        Row("errors", "txbMaxNumErrors", "40000", "32,767");
        Row("enlarge", "txbAutoEnlarge", "65535", "32,767");
        Row("enlarge huge", "txbAutoEnlarge", "99999999999999999999", "32,767");
        Row("negative", "txbMaxNumErrors", "-3", "whole number");
        Row("letters", "txbAutoEnlarge", "lots", "whole number");
    }
    void limitsAboveTheLargestValueAreRefused() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        QSignalSpy closed(dialog_, &frmConfigure::Closed);
        QLineEdit* box = Find<QLineEdit>(*dialog_, field.toLatin1().constData());
        box->setText(text);
        W<QPushButton>("cmdClose")->click();
        QCOMPARE(boxes_.size(), std::size_t{1});
        QVERIFY2(boxes_[0].text.contains(message), qPrintable(boxes_[0].text));
        QCOMPARE(boxes_[0].title, QStringLiteral("Invalid input"));
        QVERIFY(dialog_->isVisible());
        QCOMPARE(closed.count(), 0);
        QCOMPARE(state_.maxNumErrors, kDefaultMaxNumErrors);
        QCOMPARE(state_.autoEnlargeBytes, kDefaultAutoEnlarge);
        // Mended, the dialog closes.
        box->setText(QStringLiteral("7"));
        W<QPushButton>("cmdClose")->click();
        QCOMPARE(closed.count(), 1);
        QVERIFY(!dialog_->isVisible());
    }

    void closedByTheProgramAsksNothing() {
        W<QLineEdit>("txbMaxNumErrors")->setText(QStringLiteral("12"));
        W<QLineEdit>("txbAutoEnlarge")->setText(QStringLiteral("70000"));
        dialog_->close();
        QVERIFY(boxes_.empty());
        QVERIFY(!dialog_->isVisible());
        QCOMPARE(state_.maxNumErrors, 12);
        QCOMPARE(state_.autoEnlargeBytes, kDefaultAutoEnlarge);
    }

    void germanCaptions() {
        state_.language = kGerman;
        dialog_->SetLanguageDependentText();
        QCOMPARE(dialog_->windowTitle(), QStringLiteral("Konfigurieren"));
        QCOMPARE(W<QLabel>("lblDateFormat")->text(), QStringLiteral("CE/JC-Datumsformat"));
        QCOMPARE(Plain(W<QCheckBox>("chkHyphen")->text()),
                 QStringLiteral("Divis in Ordinal und in ISO-Woche Daten"));
        // The example dates do not depend on the language.
        QCOMPARE(Plain(W<QRadioButton>("optSeparatorIsDot")->text()), QStringLiteral("2012.12.31"));
    }

    void refreshShowsLoadedValuesWithoutClearing() {
        QSignalSpy cleared(dialog_, &frmConfigure::ClearInputWindows);
        FillFields();
        state_.format.dateFormat = kDateFormatDMY;
        state_.format.dateSeparator = QStringLiteral(".");
        state_.format.thousandsSeparator.clear();
        state_.format.hyphen = false;
        state_.displayDayNames = false;
        state_.maxNumErrors = 0;
        state_.autoEnlargeBytes = 1000;
        dialog_->RefreshFromState();
        QVERIFY(W<QRadioButton>("optDateFormatIsDMY")->isChecked());
        QVERIFY(W<QRadioButton>("optSeparatorIsDot")->isChecked());
        QVERIFY(W<QRadioButton>("optThousSepNone")->isChecked());
        QVERIFY(!W<QCheckBox>("chkHyphen")->isChecked());
        QVERIFY(!W<QCheckBox>("chkDisplayDayNames")->isChecked());
        QCOMPARE(Plain(W<QRadioButton>("optSeparatorIsDot")->text()), QStringLiteral("31.12.2012"));
        QVERIFY(W<QLineEdit>("txbMaxNumErrors")->text().isEmpty());
        QCOMPARE(W<QLineEdit>("txbAutoEnlarge")->text(), QStringLiteral("1000"));
        QCOMPARE(cleared.count(), 0);
        QCOMPARE(state_.firstDateText, QStringLiteral("2012-12-31"));
    }

    // Every caption is shown whole; DAYBRIDGE_PICTURES=<folder> saves a picture of the dialog.
    void pictureOfTheDialog() {
        dialog_->adjustSize();
        for (QAbstractButton* button : dialog_->findChildren<QAbstractButton*>()) {
            QVERIFY2(button->width() >= button->sizeHint().width(),
                     qPrintable(button->objectName()));
        }
        const QPixmap picture = dialog_->grab();
        QVERIFY(!picture.isNull());
        const QString folder = qEnvironmentVariable("DAYBRIDGE_PICTURES");
        if (!folder.isEmpty()) {
            QVERIFY(picture.save(folder + QStringLiteral("/configure.png")));
        }
    }

    // Every option of the dialog, set by the user, survives the settings file and comes back
    // into the controls of a new dialog.
    void settingsRoundTrip_data() {
        Columns<QString>({"order", "separator", "thousands"});
        Columns<bool>({"hyphen", "dayNames"});
        Columns<QString>({"errors", "enlarge"});
        Row("DMY dot none", "optDateFormatIsDMY", "optSeparatorIsDot", "optThousSepNone", false,
            false, "", "");
        Row("MDY slash dot", "optDateFormatIsMDY", "optSeparatorIsSlash", "optThousSepIsDot", true,
            false, "32767", "0");
        Row("YMD dash comma", "optDateFormatIsYMD", "optSeparatorIsDash", "optThousSepIsComma",
            false, true, "3", "4096");
    }
    void settingsRoundTrip() {
        QFETCH(QString, order);
        QFETCH(QString, separator);
        QFETCH(QString, thousands);
        QFETCH(bool, hyphen);
        QFETCH(bool, dayNames);
        QFETCH(QString, errors);
        QFETCH(QString, enlarge);
        W<QRadioButton>("optDateFormatIsMDY")->click();
        W<QRadioButton>("optSeparatorIsSlash")->click();
        W<QRadioButton>("optThousSepIsDot")->click();
        Find<QRadioButton>(*dialog_, order.toLatin1().constData())->click();
        Find<QRadioButton>(*dialog_, separator.toLatin1().constData())->click();
        Find<QRadioButton>(*dialog_, thousands.toLatin1().constData())->click();
        if (W<QCheckBox>("chkHyphen")->isChecked() != hyphen) {
            W<QCheckBox>("chkHyphen")->click();
        }
        if (W<QCheckBox>("chkDisplayDayNames")->isChecked() != dayNames) {
            W<QCheckBox>("chkDisplayDayNames")->click();
        }
        W<QLineEdit>("txbMaxNumErrors")->setText(errors);
        W<QLineEdit>("txbAutoEnlarge")->setText(enlarge);
        W<QPushButton>("cmdClose")->click();
        QVERIFY(boxes_.empty());

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("dbrg.usr"));
        QVERIFY(SaveUserSettings(path, state_, dir.path()));
        AppState loaded;
        QVERIFY(LoadUserSettings(path, loaded));
        QCOMPARE(loaded.format.dateFormat, state_.format.dateFormat);
        QCOMPARE(loaded.format.dateSeparator, state_.format.dateSeparator);
        QCOMPARE(loaded.format.thousandsSeparator, state_.format.thousandsSeparator);
        QCOMPARE(loaded.format.hyphen, hyphen);
        QCOMPARE(loaded.displayDayNames, dayNames);
        QCOMPARE(loaded.maxNumErrors, errors.isEmpty() ? 0 : errors.toInt());
        QCOMPARE(loaded.autoEnlargeBytes, enlarge.isEmpty() ? kAutoEnlargeNever : enlarge.toInt());

        frmConfigure again(loaded);
        again.show();
        QVERIFY(Find<QRadioButton>(again, order.toLatin1().constData())->isChecked());
        QVERIFY(Find<QRadioButton>(again, separator.toLatin1().constData())->isChecked());
        QVERIFY(Find<QRadioButton>(again, thousands.toLatin1().constData())->isChecked());
        QCOMPARE(Find<QCheckBox>(again, "chkHyphen")->isChecked(), hyphen);
        QCOMPARE(Find<QCheckBox>(again, "chkDisplayDayNames")->isChecked(), dayNames);
        QCOMPARE(Find<QLineEdit>(again, "txbMaxNumErrors")->text(),
                 errors == QLatin1String("0") ? QString() : errors);
        QCOMPARE(Find<QLineEdit>(again, "txbAutoEnlarge")->text(), enlarge);
    }
    // The weekend boxes and the holiday set change what is counted and the qualifier. From
    // Wednesday 2026-12-23 to Monday 2026-12-28, first date excluded: Thursday 24, Friday 25,
    // (Saturday 26, Sunday 27), Monday 28; in Germany 25 and 26 are holidays.
    void workdayChoiceChangesTheResult_data() {
        Columns<QString>({"clicks", "set"});
        QTest::addColumn<int>("language");
        Columns<QString>({"count", "qualifier"});
        Row("built-in", "", "", int(kEnglish), "3 days", "not counting weekend days");
        Row("germany", "", "germany", int(kEnglish), "2 days",
            "not counting weekend days and holidays (germany)");
        Row("germany de", "", "germany", int(kGerman), "2 Tage",
            "die Wochenendtage und Feiertage (germany) nicht gezählt");
        // Friday and Saturday off: Sunday 27 counts, Friday 25 does not.
        Row("fri sat", "46", "", int(kEnglish), "3 days", "not counting weekend days (Fri, Sat)");
        Row("fri sat germany de", "46", "germany", int(kGerman), "3 Tage",
            "die Wochenendtage (Fr, Sa) und Feiertage (germany) nicht gezählt");
        Row("none germany", "56", "germany", int(kEnglish), "3 days",
            "not counting holidays (germany)");
    }
    void workdayChoiceChangesTheResult() {
        QFETCH(QString, clicks);
        QFETCH(QString, set);
        QFETCH(int, language);
        QFETCH(QString, count);
        QFETCH(QString, qualifier);
        QSignalSpy changed(dialog_, &frmConfigure::WorkdaysChanged);
        ClickWeekend(clicks);
        ChooseSet(set);
        QCOMPARE(changed.size(), clicks.size() + 1);
        QVERIFY(boxes_.empty());
        state_.language = language;
        state_.includeWeekends = false;
        state_.verbose = true;
        state_.format.regional = QLocale::c();
        state_.GetParameters();
        daybridge::testing::RecordingHost host;
        ComputeEngine engine(state_, host);
        QString first = QStringLiteral("2026-12-23"), difference,
                second = QStringLiteral("2026-12-28");
        QVERIFY(engine.Compute(first, difference, second));
        const QString line = state_.output.text().trimmed();
        QVERIFY2(line.contains(QStringLiteral(" = ") + count + QStringLiteral(", ")),
                 qPrintable(line));
        QVERIFY2(line.endsWith(QStringLiteral(", ") + qualifier), qPrintable(line));
    }

    void allSevenWeekendDaysRefused() {
        ClickWeekend(QStringLiteral("0123"));
        QCOMPARE(state_.workdays.weekend(), 0x6f);
        ClickWeekend(QStringLiteral("4"));
        QCOMPARE(boxes_.size(), std::size_t{1});
        QCOMPARE(boxes_[0].text, state_.Caption(Caption::AllDaysWeekend));
        QCOMPARE(state_.workdays.weekend(), 0x6f);
        QVERIFY(!W<QCheckBox>("chkWeekend4")->isChecked());
    }

    // A holiday file that does not load is refused with the parser's reason; the set chosen
    // before stays, in the state and in the list.
    void badHolidayFileRefusedOldKept_data() {
        Columns<QString>({"content", "reason"});
        Row("no name", "01-01 : New Year\n12-25\n", "line 2: a ':' and the holiday's name");
        Row("missing", "", "cannot read the holiday file");
    }
    void badHolidayFileRefusedOldKept() {
        QFETCH(QString, content);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("mine.txt"));
        if (!content.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content.toUtf8());
        }
        ChooseSet(QStringLiteral("germany"));
        dialog_->SetFileHook([path] { return path; });
        W<QPushButton>("cmdHolidayFile")->click();
        QCOMPARE(boxes_.size(), std::size_t{1});
        QVERIFY2(boxes_[0].text.contains(reason), qPrintable(boxes_[0].text));
        QVERIFY(state_.workdays.holidays() != nullptr);
        QCOMPARE(state_.workdays.holidays()->name, QStringLiteral("germany"));
        QCOMPARE(W<QComboBox>("cboHolidays")->currentText(), QStringLiteral("germany"));
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
            const WorkdayCalendar& workdays = w->state().workdays;
            if (run == 0) {
                QVERIFY(workdays.IsDefault());
            } else if (run == 1) {
                configure.SetFileHook([rules] { return rules; });
                Find<QCheckBox>(configure, "chkWeekend4")->click();
                Find<QPushButton>(configure, "cmdHolidayFile")->click();
            } else if (run == 2) {
                QVERIFY(host.boxes.empty());
                QCOMPARE(workdays.weekend(), 0x70);
                QVERIFY(Find<QCheckBox>(configure, "chkWeekend4")->isChecked());
                QCOMPARE(Find<QComboBox>(configure, "cboHolidays")->currentText(), rules);
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
                QVERIFY(!Find<QCheckBox>(configure, "chkWeekend4")->isChecked());
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
