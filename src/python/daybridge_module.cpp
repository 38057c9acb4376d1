// The Python module `daybridge`: libdaybridge on datetime.date values, tuples and NumPy arrays.
// A failed call raises ValueError with the library's message (KeyError-like codes included:
// an unknown calendar is a ValueError too, so one except clause catches every refusal).
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <daybridge/daybridge.h>

#include <cstdint>
#include <string>
#include <vector>

namespace py = pybind11;

namespace {

// JDN of 1970-01-01, the epoch of numpy's datetime64[D].
constexpr std::int64_t kUnixEpochJdn = 2440588;
// JDN of 0001-01-01 less its proleptic ordinal (datetime.date.toordinal() is 1 there).
constexpr std::int64_t kOrdinalOffset = 1721425;

template <typename T>
T Take(daybridge::Result<T> result) {
    if (!result) {
        throw py::value_error(result.error().message);
    }
    return std::move(result).value();
}

py::object DateType() {
    static py::object type = py::module_::import("datetime").attr("date");
    return type;
}

bool IsDate(const py::handle& value) {
    return py::isinstance(value, DateType());
}

daybridge::DateParts PartsOfTuple(const py::sequence& items) {
    const std::size_t size = items.size();
    if (size < 1 || size > 7) {
        throw py::value_error("a date tuple has 1 to 7 parts: (year, month, day, ...)");
    }
    std::int64_t values[7] = {0, 0, 0, 0, 0, 0, 0};
    for (std::size_t i = 0; i < size; ++i) {
        values[i] = items[i].cast<std::int64_t>();
    }
    daybridge::DateParts parts;
    parts.year = values[0];
    parts.month = static_cast<std::int32_t>(values[1]);
    parts.day = static_cast<std::int32_t>(values[2]);
    parts.leapMonth = values[3] != 0;
    parts.era = static_cast<std::int32_t>(values[4]);
    parts.uinal = static_cast<std::int32_t>(values[5]);
    parts.kin = static_cast<std::int32_t>(values[6]);
    return parts;
}

// A date given as datetime.date (a CE day, whatever `calendar` says), a tuple of the calendar's
// parts, or an int (a JDN).
std::int64_t JdnOf(const py::handle& value, const std::string& calendar) {
    if (IsDate(value)) {
        return value.attr("toordinal")().cast<std::int64_t>() + kOrdinalOffset;
    }
    if (py::isinstance<py::int_>(value)) {
        return value.cast<std::int64_t>();
    }
    if (py::isinstance<py::sequence>(value) && !py::isinstance<py::str>(value)) {
        return Take(daybridge::DayNumberOf(calendar, PartsOfTuple(value.cast<py::sequence>())));
    }
    throw py::type_error("a date is a datetime.date, a tuple of its parts or an int (a JDN)");
}

// The parts a calendar's dates have, as a tuple: (year, month, day) for most; the leap-month
// flag and era follow where the calendar uses them; a day number is (n,); a Long Count has five.
py::tuple TupleOfParts(daybridge::DateLayout layout, const daybridge::DateParts& p) {
    switch (layout) {
        case daybridge::DateLayout::DayNumber:
            return py::make_tuple(p.year);
        case daybridge::DateLayout::YearDay:
            return py::make_tuple(p.year, p.day);
        case daybridge::DateLayout::LongCount:
            return py::make_tuple(p.year, p.month, p.day, p.uinal, p.kin);
        case daybridge::DateLayout::YearWeekDay:
            return py::make_tuple(p.year, p.month, p.day);
        case daybridge::DateLayout::YearMonthDay:
            break;
    }
    if (p.era != 0) {
        return py::make_tuple(p.year, p.month, p.day, p.leapMonth, p.era);
    }
    if (p.leapMonth) {
        return py::make_tuple(p.year, p.month, p.day, true);
    }
    return py::make_tuple(p.year, p.month, p.day);
}

py::tuple TupleOf(const std::string& calendar, std::int64_t jdn) {
    const daybridge::CalendarInfo info = Take(daybridge::FindCalendar(calendar));
    return TupleOfParts(info.layout, Take(daybridge::DatePartsOf(calendar, jdn)));
}

py::object DateOfJdn(std::int64_t jdn) {
    const std::int64_t ordinal = jdn - kOrdinalOffset;
    if (ordinal < 1 || ordinal > 3652059) {
        throw py::value_error("JDN " + std::to_string(jdn) +
                              " lies beyond datetime.date's years 1 .. 9999");
    }
    return DateType().attr("fromordinal")(ordinal);
}

// A result in the kind of the date it came from: datetime.date, int (JDN) or a tuple of the
// calendar's parts.
py::object LikeInput(const py::handle& input, const std::string& calendar, std::int64_t jdn) {
    if (IsDate(input)) {
        return DateOfJdn(jdn);
    }
    if (py::isinstance<py::int_>(input)) {
        return py::int_(jdn);
    }
    return TupleOf(calendar, jdn);
}

// ---- vectorised calls ----

bool IsDatetimeArray(const py::handle& value) {
    if (!py::isinstance<py::array>(value)) {
        return false;
    }
    return py::str(value.attr("dtype")).cast<std::string>() == "datetime64[D]";
}

// The JDNs of a sequence or array of dates: datetime64[D] arrays as CE days, integer arrays
// as JDNs, anything else item by item as JdnOf reads it.
std::vector<std::int64_t> JdnsOf(const py::handle& dates, const std::string& calendar) {
    std::vector<std::int64_t> jdns;
    if (IsDatetimeArray(dates)) {
        const py::array_t<std::int64_t> days = dates.attr("astype")("int64");
        const auto view = days.unchecked<1>();
        jdns.reserve(static_cast<std::size_t>(view.shape(0)));
        for (py::ssize_t i = 0; i < view.shape(0); ++i) {
            jdns.push_back(view(i) + kUnixEpochJdn);
        }
        return jdns;
    }
    if (py::isinstance<py::array>(dates)) {
        const py::array_t<std::int64_t, py::array::forcecast> numbers(
            py::reinterpret_borrow<py::object>(dates));
        const auto view = numbers.unchecked<1>();
        jdns.reserve(static_cast<std::size_t>(view.shape(0)));
        for (py::ssize_t i = 0; i < view.shape(0); ++i) {
            jdns.push_back(view(i));
        }
        return jdns;
    }
    for (const py::handle item : py::iter(dates)) {
        jdns.push_back(JdnOf(item, calendar));
    }
    return jdns;
}

py::array_t<std::int64_t> PartsArray(const std::string& calendar,
                                     const std::vector<std::int64_t>& jdns) {
    const std::vector<daybridge::DateParts> dates =
        Take(daybridge::DatePartsOfMany(calendar, jdns));
    py::array_t<std::int64_t> out({static_cast<py::ssize_t>(jdns.size()), py::ssize_t{7}});
    auto view = out.mutable_unchecked<2>();
    for (std::size_t i = 0; i < jdns.size(); ++i) {
        const daybridge::DateParts& p = dates[i];
        const auto row = static_cast<py::ssize_t>(i);
        view(row, 0) = p.year;
        view(row, 1) = p.month;
        view(row, 2) = p.day;
        view(row, 3) = p.leapMonth ? 1 : 0;
        view(row, 4) = p.era;
        view(row, 5) = p.uinal;
        view(row, 6) = p.kin;
    }
    return out;
}

py::object ConvertMany(const py::object& dates, const std::string& to, const std::string& from) {
    const std::vector<std::int64_t> jdns = JdnsOf(dates, from);
    if (py::isinstance<py::array>(dates)) {
        return PartsArray(to, jdns);
    }
    const daybridge::DateLayout layout = Take(daybridge::FindCalendar(to)).layout;
    py::list out;
    for (const daybridge::DateParts& date : Take(daybridge::DatePartsOfMany(to, jdns))) {
        out.append(TupleOfParts(layout, date));
    }
    return out;
}

std::int64_t Added(std::int64_t jdn, std::int64_t years, std::int64_t months, std::int64_t days,
                   const std::string& calendar) {
    return Take(daybridge::AddPeriod(calendar, jdn, years, months, days));
}

py::object AddMany(const py::object& dates, std::int64_t years, std::int64_t months,
                   std::int64_t days, const std::string& calendar) {
    const std::vector<std::int64_t> jdns = JdnsOf(dates, calendar);
    if (py::isinstance<py::array>(dates)) {
        const bool datetimes = IsDatetimeArray(dates);
        const std::vector<std::int64_t> added =
            Take(daybridge::AddPeriodMany(calendar, jdns, years, months, days));
        py::array_t<std::int64_t> out(static_cast<py::ssize_t>(jdns.size()));
        auto view = out.mutable_unchecked<1>();
        for (std::size_t i = 0; i < jdns.size(); ++i) {
            const std::int64_t day = added[i];
            view(static_cast<py::ssize_t>(i)) = datetimes ? day - kUnixEpochJdn : day;
        }
        return datetimes ? py::object(out.attr("astype")("datetime64[D]")) : py::object(out);
    }
    py::list out;
    std::size_t i = 0;
    for (const py::handle item : py::iter(dates)) {
        out.append(LikeInput(item, calendar, Added(jdns[i++], years, months, days, calendar)));
    }
    return out;
}

daybridge::RollRule RollNamed(const std::string& name) {
    if (name == "following") {
        return daybridge::RollRule::Following;
    }
    if (name == "preceding") {
        return daybridge::RollRule::Preceding;
    }
    if (name == "modifiedfollowing") {
        return daybridge::RollRule::ModifiedFollowing;
    }
    if (name == "modifiedpreceding") {
        return daybridge::RollRule::ModifiedPreceding;
    }
    throw py::value_error(
        "roll is one of following, preceding, modifiedfollowing, "
        "modifiedpreceding");
}

daybridge::TextStyle StyleOf(const std::string& order, const std::string& separator) {
    daybridge::TextStyle style;
    if (order == "DMY") {
        style.order = daybridge::DateOrder::DayMonthYear;
    } else if (order == "MDY") {
        style.order = daybridge::DateOrder::MonthDayYear;
    } else if (order != "YMD") {
        throw py::value_error("order is YMD, DMY or MDY");
    }
    if (separator.size() != 1) {
        throw py::value_error("the separator is one of '-', '/', '.'");
    }
    style.separator = separator[0];
    return style;
}

// calendars(), to_jdn(), from_jdn(), date_of_jdn(), convert().
void DefineConversions(py::module_& m) {
    m.def(
        "calendars",
        [] {
            std::vector<std::string> codes;
            for (const daybridge::CalendarInfo& info : daybridge::ListCalendars()) {
                codes.push_back(info.code);
            }
            return codes;
        },
        "The codes of every calendar.");
    m.def(
        "to_jdn",
        [](const py::object& date, const std::string& calendar) {
            const std::int64_t jdn = JdnOf(date, calendar);
            Take(daybridge::DatePartsOf(calendar, jdn));  // refuses a day the calendar lacks
            return jdn;
        },
        py::arg("date"), py::arg("calendar") = "CE",
        "The JDN of a date (a datetime.date, or a tuple of the calendar's parts).");
    m.def("from_jdn", &TupleOf, py::arg("jdn"), py::arg("calendar") = "CE",
          "The date of a JDN in a calendar, as a tuple of its parts.");
    m.def("date_of_jdn", &DateOfJdn, py::arg("jdn"), "The datetime.date of a JDN.");
    m.def(
        "convert",
        [](const py::object& date, const std::string& to, const std::string& from) {
            const std::int64_t jdn = JdnOf(date, from);
            Take(daybridge::DatePartsOf(from, jdn));
            return TupleOf(to, jdn);
        },
        py::arg("date"), py::arg("to"), py::arg("from_") = "CE",
        "The same day in calendar `to`, as a tuple: convert(date(2026, 12, 8), 'HEB') is\n"
        "(5787, 9, 28); convert((5787, 9, 28), 'CE', from_='HEB') is (2026, 12, 8).");
}

// Dates as text, and the calendars' rules.
void DefineTextsAndRules(py::module_& m) {
    m.def(
        "parse",
        [](const std::string& text, const std::string& calendar, const std::string& order,
           const std::string& separator) {
            return Take(daybridge::ParseDateText(calendar, text, StyleOf(order, separator)));
        },
        py::arg("text"), py::arg("calendar") = "CE", py::arg("order") = "YMD",
        py::arg("separator") = "-",
        "The JDN of a date written in the calendar's usual notation ('2026-12-08',\n"
        "'5787-09-28 HEB', '2026-W50-2'); order and separator apply to CE and JC dates.");
    m.def(
        "format",
        [](const py::object& date, const std::string& calendar, const std::string& order,
           const std::string& separator) {
            return Take(
                daybridge::DateText(calendar, JdnOf(date, calendar), StyleOf(order, separator)));
        },
        py::arg("date"), py::arg("calendar") = "CE", py::arg("order") = "YMD",
        py::arg("separator") = "-",
        "A date (datetime.date, a JDN, or a tuple of the calendar's parts) written in the\n"
        "calendar's usual notation; parse() reads it back.");
    m.def(
        "calendar_rule",
        [](const std::string& calendar) { return Take(daybridge::CalendarRule(calendar)); },
        py::arg("calendar"),
        "The rule a calendar follows: HIS's first Gregorian day, WK's week rule, FY's first\n"
        "month, FYW's 52/53-week rule.");
    m.def(
        "set_calendar_rule",
        [](const std::string& calendar, const std::string& rule) {
            return Take(daybridge::SetCalendarRule(calendar, rule));
        },
        py::arg("calendar"), py::arg("rule"),
        "Chooses a calendar's rule for the whole process ('britain' for HIS, 'US' for WK,\n"
        "'OCT/END' for FY, 'LAST/SAT/JAN/454' for FYW) and answers it as written back.");
    m.def(
        "strftime",
        [](const py::object& date, const std::string& format, const std::string& calendar) {
            return Take(daybridge::FormatDate(calendar, JdnOf(date, calendar), format));
        },
        py::arg("date"), py::arg("format"), py::arg("calendar") = "CE",
        "A date written by a format: strftime-like fields for every calendar ('%A, %-d %B %Y',\n"
        "'%G-W%V-%u', '%E %-Y-%m-%d' for JPN eras) or 'iso', 'long', 'jdn'; names in English.");
    m.def(
        "strptime",
        [](const std::string& text, const std::string& format, const std::string& calendar) {
            return Take(daybridge::ParseFormattedDate(calendar, text, format));
        },
        py::arg("text"), py::arg("format"), py::arg("calendar") = "CE",
        "The JDN of a date written by a format (as strftime() writes it; names in any case).");
}

// Adding to dates and the spans between them, one date or many.
void DefineArithmetic(py::module_& m) {
    m.def(
        "add",
        [](const py::object& date, std::int64_t years, std::int64_t months, std::int64_t days,
           const std::string& calendar) {
            return LikeInput(date, calendar,
                             Added(JdnOf(date, calendar), years, months, days, calendar));
        },
        py::arg("date"), py::arg("years") = 0, py::arg("months") = 0, py::arg("days") = 0,
        py::arg("calendar") = "CE",
        "Years and months in the calendar's own months (a day the month lacks becomes its\n"
        "last day, once, after both), then days. The result is of the kind given: date, JDN or "
        "tuple.");
    m.def(
        "difference",
        [](const py::object& first, const py::object& second, const std::string& calendar) {
            const daybridge::DateSpan span = Take(daybridge::DifferenceInUnits(
                calendar, JdnOf(first, calendar), JdnOf(second, calendar)));
            const std::int64_t sign = span.negative ? -1 : 1;
            return py::make_tuple(sign * span.years, sign * span.months, sign * span.days);
        },
        py::arg("first"), py::arg("second"), py::arg("calendar") = "CE",
        "(years, months, days) from first to second in the calendar's units; all three are\n"
        "negative when second lies before first.");
    m.def(
        "days_between",
        [](const py::object& first, const py::object& second, const std::string& calendar) {
            return Take(daybridge::DaysBetween(JdnOf(first, calendar), JdnOf(second, calendar)));
        },
        py::arg("first"), py::arg("second"), py::arg("calendar") = "CE", "second - first in days.");
    m.def("convert_many", &ConvertMany, py::arg("dates"), py::arg("to"), py::arg("from_") = "CE",
          "convert() over many dates. A list gives a list of tuples; a NumPy array\n"
          "(datetime64[D] as CE days, integers as JDNs) gives an int64 array of shape (n, 7):\n"
          "year, month, day, leap month, era, uinal, kin.");
    m.def("add_many", &AddMany, py::arg("dates"), py::arg("years") = 0, py::arg("months") = 0,
          py::arg("days") = 0, py::arg("calendar") = "CE",
          "add() over many dates: a datetime64[D] array gives one, an integer array JDNs, a\n"
          "list a list of the kinds given.");
}

// The holiday sets and the WorkingDays class.
void DefineWorkingDays(py::module_& m) {
    m.def(
        "shipped_holiday_sets", [] { return daybridge::ShippedHolidaySets(); },
        "The names of the shipped holiday sets.");

    py::class_<daybridge::WorkingDays>(m, "WorkingDays",
                                       "Which days are working days: all but the weekend days\n"
                                       "and a holiday set's holidays.")
        .def(py::init([](const std::string& weekend, const std::string& holidays) {
                 return Take(daybridge::WorkingDays::Create(weekend, holidays));
             }),
             py::arg("weekend") = "sat sun", py::arg("holidays") = "",
             "weekend: day names ('fri sat'), a mask ('0000011', Monday first) or 'none';\n"
             "holidays: a shipped set ('germany') or a rule file's path, '' for none.")
        .def(
            "is_workday",
            [](const daybridge::WorkingDays& w, const py::object& date) {
                return w.IsWorkday(JdnOf(date, "CE"));
            },
            py::arg("date"))
        .def(
            "is_holiday",
            [](const daybridge::WorkingDays& w, const py::object& date) {
                return w.IsHoliday(JdnOf(date, "CE"));
            },
            py::arg("date"))
        .def(
            "holiday_names",
            [](const daybridge::WorkingDays& w, const py::object& date) {
                return w.HolidayNames(JdnOf(date, "CE"));
            },
            py::arg("date"))
        .def(
            "count",
            [](const daybridge::WorkingDays& w, const py::object& first, const py::object& second,
               bool includeFirst) {
                return Take(w.Count(JdnOf(first, "CE"), JdnOf(second, "CE"), includeFirst));
            },
            py::arg("first"), py::arg("second"), py::arg("include_first") = false,
            "Working days after first up to and including second (negative backwards).")
        .def(
            "add",
            [](const daybridge::WorkingDays& w, const py::object& date, std::int64_t n,
               bool includeFirst) {
                return LikeInput(date, "CE", Take(w.Add(JdnOf(date, "CE"), n, includeFirst)));
            },
            py::arg("date"), py::arg("workdays"), py::arg("include_first") = false,
            "The day that many working days away: count(date, result) == workdays.")
        .def(
            "roll",
            [](const daybridge::WorkingDays& w, const py::object& date, const std::string& rule) {
                return LikeInput(date, "CE", Take(w.Roll(JdnOf(date, "CE"), RollNamed(rule))));
            },
            py::arg("date"), py::arg("rule") = "following",
            "The day itself when it is a working day, else the one the rule chooses:\n"
            "following, preceding, modifiedfollowing, modifiedpreceding.");
}

}  // namespace

PYBIND11_MODULE(daybridge, m) {
    m.doc() =
        "Daybridge's calendars and date arithmetic (libdaybridge).\n\n"
        "A date is a datetime.date (a CE day), a tuple of a calendar's parts such as\n"
        "(5787, 9, 28) for HEB, or an int: a Julian Day Number (JDN). Calendars are named by\n"
        "their codes ('CE', 'JC', 'HEB', 'ISL', 'ISO', ...; calendars() lists them).\n"
        "Every refusal raises ValueError with a message saying what is wrong.";
    m.attr("__version__") = daybridge::LibraryVersion();

    DefineConversions(m);
    DefineTextsAndRules(m);
    DefineArithmetic(m);
    DefineWorkingDays(m);
}
