// Loading a program: the lines with their forms, the DOFOREACH rewriting, the procedure tables,
// and each line's statement, read once.
#include "batch/program.h"

#include <algorithm>
#include <array>
#include <utility>

#include "batch/reporter.h"
#include "calendar/calendar_registry.h"

namespace daybridge::batch {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The settings named at the start of a statement, tried in this order on the blank-free line;
// those after SECONDDATE take their value as written.
constexpr std::array<std::pair<const char*, Setting>, 16> kSettingNames = {{
    {"DATEFORMAT", Setting::DateFormat},
    {"THOUSANDSSEPARATOR", Setting::ThousandsSeparator},
    {"INCLUDEFIRSTDATE", Setting::IncludeFirstDate},
    {"INCLUDEWEEKENDDATES", Setting::IncludeWeekendDates},
    {"VERBOSE", Setting::Verbose},
    {"HYPHEN", Setting::Hyphen},
    {"FIRSTDATE", Setting::FirstDate},
    {"SECONDDATE", Setting::SecondDate},
    {"WEEKEND=", Setting::Weekend},
    {"HOLIDAYS=", Setting::Holidays},
    {"CATEGORIES=", Setting::Categories},
    {"HALFDAYS=", Setting::HalfDays},
    {"GREGORIANSWITCH=", Setting::GregorianSwitch},
    {"WEEKRULE=", Setting::WeekRule},
    {"FISCALYEAR=", Setting::FiscalYear},
    {"FISCALWEEKS=", Setting::FiscalWeeks},
}};

QString WithoutSpaces(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c != u' ') {
            out.append(c);
        }
    }
    return out;
}

ParsedCall CallIfBuiltin(const QString& upper) {
    return RecognizeBuiltin(upper) != Builtin::None ? ParseCall(upper) : ParsedCall{};
}

void ReadOperand(Operand& operand, const QString& text) {
    operand.text = text;
    operand.literal = ParseIntegerLiteral(text, true);
    operand.call = CallIfBuiltin(text);
}

}  // namespace

LineKind ClassifyLine(const QString& u) {
    if (u.isEmpty() || u.startsWith(QLatin1String("//"))) {
        return LineKind::Comment;
    }
    if (u == QLatin1String("STOP")) {
        return LineKind::Stop;
    }
    if (u == QLatin1String("SKIP")) {
        return LineKind::Skip;
    }
    if (u == QLatin1String("ENDSKIP")) {
        return LineKind::EndSkip;
    }
    if (u.startsWith(QLatin1String("FUNCTION "))) {
        return LineKind::Function;
    }
    if (u == QLatin1String("ENDFUNCTION")) {
        return LineKind::EndFunction;
    }
    if (u.startsWith(QLatin1String("SUB "))) {
        return LineKind::Sub;
    }
    if (u == QLatin1String("ENDSUB")) {
        return LineKind::EndSub;
    }
    if (u.startsWith(QLatin1String("CALL "))) {
        return LineKind::Call;
    }
    if (u.startsWith(QLatin1String("DO"))) {
        return LineKind::Do;
    }
    if (u == QLatin1String("EXITDO")) {
        return LineKind::ExitDo;
    }
    if (u == QLatin1String("ENDDO")) {
        return LineKind::EndDo;
    }
    if (u.startsWith(QLatin1String("IF"))) {
        return LineKind::If;
    }
    if (u.startsWith(QLatin1String("ELSEIF"))) {
        return LineKind::ElseIf;
    }
    if (u.startsWith(QLatin1String("ELSE"))) {
        return LineKind::Else;
    }
    if (u.startsWith(QLatin1String("ENDIF"))) {
        return LineKind::EndIf;
    }
    if (u.startsWith(QLatin1String("RETURN:"))) {
        return LineKind::Return;
    }
    if (u.startsWith(QLatin1String("OUTPUT:"))) {
        return LineKind::Output;
    }
    if (u.startsWith(QLatin1String("BL"))) {
        return LineKind::Blank;
    }
    if (u.startsWith(QLatin1String("ENDARRAY"))) {
        return LineKind::EndArray;
    }
    if (u.startsWith(QLatin1String("ARRAY"))) {
        return LineKind::Array;
    }
    return LineKind::Statement;
}

Program::Program() {
    lines_.resize(1);
}

void Program::Clear() {
    lines_.clear();
    lines_.resize(1);
    lineCount_ = 0;
    forEachTexts_.clear();
}

bool Program::Load(const QStringList& fileLines, Reporter& report, int& cursor) {
    Clear();
    lines_.reserve(static_cast<std::size_t>(std::min<qsizetype>(fileLines.size(), 40000)) + 8);
    int fileLine = 0;
    auto store = [&](const QString& text, bool rewritten = false) -> bool {
        if (static_cast<int>(lines_.size()) - 1 >= kMaxStoredLines) {
            return false;
        }
        ProgramLine line;
        line.text = text;
        line.upper = UpperText(text);
        line.upper.replace(u'\t', u' ');  // keywords and names may be set apart by a tab
        line.stmt = StatementText(text);
        line.fileLine = fileLine;
        line.rewritten = rewritten;
        line.kind = ClassifyLine(line.upper);
        lines_.push_back(std::move(line));
        cursor = static_cast<int>(lines_.size()) - 1;
        return true;
    };
    for (const QString& raw : fileLines) {
        ++fileLine;
        const QString text = TrimWhite(raw);
        if (!store(text)) {
            report.LoadRefusal(LoadFault::TooLong, fileLine, text);
            return false;
        }
        const QString& upper = lines_.back().upper;
        if (lines_.back().kind == LineKind::Comment) {
            continue;  // comments are never examined
        }
        if (upper.startsWith(QLatin1String("OUTPUT "))) {
            report.LoadRefusal(LoadFault::OutputWithoutColon, fileLine, text);
            return false;
        }
        if (!upper.startsWith(QLatin1String("OUTPUT")) && upper.endsWith(u';')) {
            report.LoadRefusal(LoadFault::TrailingSemicolon, fileLine, text);
            return false;
        }
        if (upper.startsWith(QLatin1String("RETURN")) && (upper.size() < 7 || upper[6] != u':')) {
            report.LoadRefusal(LoadFault::ReturnWithoutColon, fileLine, text);
            return false;
        }
        if (upper.startsWith(QLatin1String("DOFOREACH "))) {
            const auto rewritten = RewriteDoForEach(upper);
            if (!rewritten) {
                report.Raise(Fault::DoForEachSyntax);
                return false;
            }
            lines_.pop_back();
            forEachTexts_.insert(fileLine, text);
            for (const QString& part : *rewritten) {
                if (!store(part, true)) {
                    report.LoadRefusal(LoadFault::TooLong, fileLine, text);
                    return false;
                }
            }
        }
    }
    lineCount_ = static_cast<int>(lines_.size()) - 1;
    cursor = 0;
    std::vector<QString> upper(lines_.size());
    for (std::size_t i = 1; i < lines_.size(); ++i) {
        upper[i] = lines_[i].upper;
    }
    blocks_.Build(upper);
    return true;
}

bool Program::CollectProcedures(Reporter& report, int& cursor) {
    return CollectTable(false, report, cursor) && CollectTable(true, report, cursor);
}

bool Program::CollectTable(bool subs, Reporter& report, int& cursor) {
    QHash<QString, int>& table = subs ? subs_ : functions_;
    table.clear();
    const QLatin1String keyword = subs ? QLatin1String("SUB ") : QLatin1String("FUNCTION ");
    const auto refuse = [&cursor](auto&& reportIt) {
        reportIt();
        cursor = 0;
        return false;
    };
    for (int i = 1; i <= lineCount_; ++i) {
        const ProgramLine& line = lines_[static_cast<std::size_t>(i)];
        if (!line.upper.startsWith(keyword)) {
            continue;
        }
        cursor = i;
        const qsizetype paren = line.upper.indexOf(u'(');
        if (paren < 0) {
            return refuse([&] { report.Raise(Fault::MissingParentheses, line.text); });
        }
        const QString name =
            TrimWhite(QStringView(line.upper).mid(keyword.size() - 1, paren - keyword.size() + 1));
        if (table.contains(name)) {
            return refuse([&] {
                report.Raise(subs ? Fault::DuplicateSub : Fault::DuplicateFunction, line.text);
            });
        }
        if (table.size() >= kMaxProcedures) {
            return refuse([&] { report.Raise(Fault::TooManyProcedures, line.text); });
        }
        table.insert(name, i);
    }
    cursor = 0;
    return true;
}

void Program::Prepare() {
    for (std::size_t i = 1; i < lines_.size(); ++i) {
        ProgramLine& line = lines_[i];
        line.fast = FastForm::None;
        switch (line.kind) {
            case LineKind::Statement:
                PrepareStatement(line);
                break;
            case LineKind::Output:
                PrepareOutput(line);
                break;
            case LineKind::If:
            case LineKind::ElseIf:
                PrepareCondition(line);
                break;
            case LineKind::Do:
                PrepareDo(line);
                break;
            case LineKind::Return:
                PrepareReturn(line);
                break;
            case LineKind::Call:
                PrepareCall(line);
                break;
            case LineKind::Comment:
                line.fast = FastForm::Comment;
                break;
            case LineKind::EndDo:
                line.fast = FastForm::EndDo;
                break;
            default:
                break;
        }
    }
}

void Program::PrepareStatement(ProgramLine& line) const {
    const QString& s = line.stmt;
    for (const auto& [name, setting] : kSettingNames) {
        if (!s.startsWith(QLatin1String(name))) {
            continue;
        }
        SettingStatement statement{setting, {}};
        if (setting >= Setting::Weekend) {
            statement.value = TrimWhite(QStringView(line.text).mid(line.text.indexOf(u'=') + 1));
        } else if (const qsizetype eq = s.indexOf(u'='); eq >= 0) {
            statement.value = s.mid(eq + 1);
        }
        line.statement = std::make_unique<Statement>(std::move(statement));
        return;
    }
    if (!s.contains(u'=')) {
        PrepareComputation(line);
        return;
    }
    PrepareAssignment(line);
}

void Program::PrepareAssignment(ProgramLine& line) const {
    const QString& s = line.stmt;
    AssignStatement a;
    qsizetype pos = s.indexOf(QLatin1String("+="));
    a.op = AssignOp::Add;
    if (pos < 0) {
        pos = s.indexOf(QLatin1String("-="));
        a.op = AssignOp::Subtract;
    }
    int length = 2;
    if (pos < 0) {
        pos = s.indexOf(u'=');
        a.op = AssignOp::Set;
        length = 1;
    }
    a.target = s.left(pos);
    a.value = s.mid(pos + length);
    a.literal = ParseIntegerLiteral(a.value, true);
    a.call = CallIfBuiltin(a.value);
    a.valueIsToday = a.value == QLatin1String("TODAY");
    a.valueCallsFunction = IsFunctionCall(a.value);

    const QString& target = a.target;
    if (target.size() >= 2 && target.startsWith(u'{') && target.endsWith(u'}') &&
        IsNameText(QStringView(target).mid(1, target.size() - 2))) {
        a.targetForm = TargetForm::Counter;
    } else if (target.contains(u'[')) {
        a.targetForm = TargetForm::Element;
    } else if (!target.isEmpty() && !IsNameText(target)) {
        a.targetForm = TargetForm::BadName;
    } else {
        a.targetForm = TargetForm::Name;
    }
    a.targetReserved = IsReservedTarget(target) || a.value.isEmpty();

    const bool plainValue =
        a.literal.kind == LiteralKind::Value ||
        (a.literal.kind == LiteralKind::NotLiteral && !a.valueIsToday && !a.valueCallsFunction);
    if (a.targetForm == TargetForm::Name && !a.value.isEmpty() && plainValue) {
        line.fast = FastForm::AssignValue;
    }
    line.statement = std::make_unique<Statement>(std::move(a));
}

void Program::PrepareOutput(ProgramLine& line) const {
    OutputStatement o;
    QString text = TrimWhite(QStringView(line.text).mid(7));
    if (text.endsWith(QLatin1String(";;"))) {
        text.chop(2);
        o.end = QStringLiteral("");
    } else if (text.endsWith(u';')) {
        text.chop(1);
        o.end = QStringLiteral(" ");
    } else {
        o.end = kCrLf;
    }
    o.text = text;
    const QString upper = UpperText(text);
    if (RecognizeBuiltin(upper) != Builtin::None) {
        o.form = OutputForm::Builtin;
        o.call = ParseCall(upper);
        line.fast = FastForm::OutputCall;
    } else if (IsFunctionCall(upper)) {
        o.form = OutputForm::UserFunction;
    } else if (LooksLikeCall(upper)) {
        o.form = OutputForm::UnknownFunction;
    } else {
        line.fast = FastForm::OutputText;
    }
    line.statement = std::make_unique<Statement>(std::move(o));
}

void Program::PrepareCondition(ProgramLine& line) {
    ConditionStatement c;
    QString rest = WithoutSpaces(line.upper);
    if (rest.startsWith(QLatin1String("IFNOT"))) {
        rest.remove(0, 5);
        c.negate = true;
    } else if (rest.startsWith(QLatin1String("IF"))) {
        rest.remove(0, 2);
    } else if (rest.startsWith(QLatin1String("ELSEIFNOT"))) {
        rest.remove(0, 9);
        c.negate = true;
    } else if (rest.startsWith(QLatin1String("ELSEIF"))) {
        rest.remove(0, 6);
    }
    if (rest.endsWith(QLatin1String("THEN"))) {
        rest.chop(4);
        rest = TrimWhite(rest);
    }
    if (rest.startsWith(QLatin1String("DOW("))) {
        c.form = ConditionForm::DayOfWeek;
        if (rest.contains(u'<') || rest.contains(u'>')) {
            c.form = ConditionForm::DayOfWeekOrdered;  // reported on execution
        } else {
            c.dayNameUnequal = rest.contains(u'!');
            rest.remove(u'!');
            c.call = ParseCall(rest);
            const qsizetype at = rest.indexOf(QLatin1String(")="));
            c.dayName = at < 0 ? QString() : rest.mid(at + 2);
        }
    } else if (rest.startsWith(QLatin1String("ISLEAPYEAR(")) ||
               rest.startsWith(QLatin1String("ISINSHORTHEXADE("))) {
        c.form = ConditionForm::TrueOrFalse;
        c.call = ParseCall(rest);
    } else {
        c.form = ConditionForm::NoOperator;
        for (qsizetype i = 1; i < rest.size(); ++i) {
            const QChar ch = rest[i];
            const bool nextIsEq = i + 1 < rest.size() && rest[i + 1] == u'=';
            int width = 0;
            if (ch == u'<') {
                c.compare = nextIsEq ? Comparison::LessOrEqual : Comparison::Less;
                width = nextIsEq ? 2 : 1;
            } else if (ch == u'>') {
                c.compare = nextIsEq ? Comparison::GreaterOrEqual : Comparison::Greater;
                width = nextIsEq ? 2 : 1;
            } else if (ch == u'=') {
                c.compare = Comparison::Equal;
                width = 1;
            } else if (ch == u'!' && nextIsEq) {
                c.compare = Comparison::NotEqual;
                width = 2;
            }
            if (width > 0) {
                c.form = ConditionForm::Comparison;
                ReadOperand(c.left, rest.left(i));
                ReadOperand(c.right, rest.mid(i + width));
                break;
            }
        }
    }
    line.statement = std::make_unique<Statement>(std::move(c));
}

void Program::PrepareDo(ProgramLine& line) {
    DoStatement d;
    if (line.upper != QLatin1String("DO")) {
        d.count = TrimWhite(QStringView(line.upper).mid(2));
        d.call = CallIfBuiltin(d.count);
    }
    line.statement = std::make_unique<Statement>(std::move(d));
}

void Program::PrepareReturn(ProgramLine& line) const {
    ReturnStatement r;
    r.value = TrimWhite(QStringView(line.upper).mid(7));
    r.literal = ParseIntegerLiteral(r.value, false);
    r.call = CallIfBuiltin(r.value);
    r.callsFunction = IsFunctionCall(r.value);
    line.statement = std::make_unique<Statement>(std::move(r));
}

void Program::PrepareComputation(ProgramLine& line) {
    ComputeStatement c;
    QString s = line.stmt;
    s.replace(u'\t', u'#');
    const qsizetype h1 = s.indexOf(u'#');
    if (h1 < 0) {
        c.fields[0] = s;
    } else {
        c.fields[0] = s.left(h1);
        const qsizetype h2 = s.indexOf(u'#', h1 + 1);
        if (h2 < 0) {
            c.fields[1] = s.mid(h1 + 1);
        } else {
            c.fields[1] = s.mid(h1 + 1, h2 - h1 - 1);
            c.fields[2] = s.mid(h2 + 1);
        }
    }
    for (QString& field : c.fields) {
        field = TrimWhite(field);
    }
    line.statement = std::make_unique<Statement>(std::move(c));
}

void Program::PrepareCall(ProgramLine& line) const {
    CallStatement c;
    c.call = TrimWhite(QStringView(line.upper).mid(4));
    c.hasParentheses = c.call.contains(u'(');
    c.namesSub = IsSubCall(c.call);
    c.argumentCount = CountArguments(c.call);
    line.statement = std::make_unique<Statement>(std::move(c));
}

bool Program::IsFunctionCall(const QString& upperText) const {
    const qsizetype paren = upperText.indexOf(u'(');
    return paren >= 0 && functions_.contains(TrimWhite(QStringView(upperText).left(paren)));
}

bool Program::IsSubCall(const QString& upperText) const {
    const qsizetype paren = upperText.indexOf(u'(');
    return paren >= 0 && subs_.contains(TrimWhite(QStringView(upperText).left(paren)));
}

int Program::ProcedureHeader(const QString& name, bool sub) const {
    return (sub ? subs_ : functions_).value(name, 0);
}

bool Program::IsReservedTarget(const QString& target) const {
    return target.isEmpty() || target == QLatin1String("TODAY") ||
           target == QLatin1String("RESULT") || RecognizeBuiltin(target) != Builtin::None ||
           functions_.contains(target);
}

int Program::FileLineNumber(int index) const {
    return Has(index) ? Line(index).fileLine : index;
}

const QString& Program::FileText(int index) const {
    if (!Has(index)) {
        return emptyLine_;
    }
    const ProgramLine& line = Line(index);
    if (line.rewritten) {
        // A line a DOFOREACH line became: the line in the file.
        const auto file = forEachTexts_.constFind(line.fileLine);
        if (file != forEachTexts_.constEnd()) {
            return *file;
        }
    }
    return line.text;
}

}  // namespace daybridge::batch
