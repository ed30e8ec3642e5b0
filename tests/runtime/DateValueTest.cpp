#include "runtime/DateValue.h"
#include "runtime/RuntimeError.h"
#include "tests/support/TestEnvironment.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include "tests/support/RaisedNumber.h"

#include <gtest/gtest.h>

#include <sys/time.h>

#include <cmath>
#include <ctime>

using rt::DateParts;

namespace {

using testsupport::raisedNumber;

// Days since 1899-12-30 according to Qt's calendar, an independent reference.
double qtDays(int y, int m, int d) { return QDate(1899, 12, 30).daysTo(QDate(y, m, d)); }

}  // namespace

namespace rt {
void PrintTo(const DateParts& p, std::ostream* os) {
  *os << p.year << "-" << p.month << "-" << p.day << " " << p.hour << ":" << p.minute << ":"
      << p.second;
}
}  // namespace rt

TEST(DateValue, DaySerialsAgreeWithTheCalendar) {
  EXPECT_EQ(rt::dateSerial(1899, 12, 30), 0.0);
  EXPECT_EQ(rt::dateSerial(1899, 12, 29), -1.0);
  EXPECT_EQ(rt::dateSerial(1900, 1, 1), 2.0);
  EXPECT_EQ(rt::dateSerial(2000, 1, 1), 36526.0);
  EXPECT_EQ(rt::dateSerial(100, 1, 1), -657434.0);
  EXPECT_EQ(rt::dateSerial(9999, 12, 31), 2958465.0);
  // Leap years: 1900 is not one, 2000 and 2024 are.
  EXPECT_EQ(rt::dateSerial(1900, 3, 1) - rt::dateSerial(1900, 2, 28), 1.0);
  EXPECT_EQ(rt::dateSerial(2000, 3, 1) - rt::dateSerial(2000, 2, 28), 2.0);
  EXPECT_EQ(rt::dateSerial(2024, 3, 1) - rt::dateSerial(2024, 2, 28), 2.0);
  EXPECT_EQ(rt::dateSerial(2023, 3, 1) - rt::dateSerial(2023, 2, 28), 1.0);
}

TEST(DateValue, FieldsCarryOver) {
  EXPECT_EQ(rt::dateSerial(2023, 13, 1), rt::dateSerial(2024, 1, 1));
  EXPECT_EQ(rt::dateSerial(2024, 0, 15), rt::dateSerial(2023, 12, 15));
  EXPECT_EQ(rt::dateSerial(2024, 3, 0), rt::dateSerial(2024, 2, 29));
  EXPECT_EQ(rt::dateSerial(2023, 2, 31), rt::dateSerial(2023, 3, 3));
  EXPECT_EQ(rt::dateSerial(2024, -1, 1), rt::dateSerial(2023, 11, 1));
  EXPECT_EQ(rt::dateSerial(2024, 1, -1), rt::dateSerial(2023, 12, 30));
  EXPECT_EQ(rt::dateSerial(2024, 25, 1), rt::dateSerial(2026, 1, 1));
  EXPECT_EQ(rt::dateSerial(2024, 1, 366), rt::dateSerial(2024, 12, 31));

  EXPECT_EQ(rt::makeDate(2024, 3, 15, 24, 0, 0), rt::dateSerial(2024, 3, 16));
  EXPECT_EQ(rt::makeDate(2024, 3, 15, 25, 0, 0), rt::makeDate(2024, 3, 16, 1, 0, 0));
  EXPECT_EQ(rt::makeDate(2024, 3, 15, 10, 60, 0), rt::makeDate(2024, 3, 15, 11, 0, 0));
  EXPECT_EQ(rt::makeDate(2024, 12, 31, 23, 59, 60), rt::dateSerial(2025, 1, 1));
  EXPECT_EQ(rt::makeDate(2024, 3, 15, -1, 0, 0), rt::makeDate(2024, 3, 14, 23, 0, 0));
  EXPECT_EQ(rt::makeDate(2024, 3, 15, 0, 0, -1), rt::makeDate(2024, 3, 14, 23, 59, 59));

  EXPECT_EQ(rt::timeSerial(12, 0, 0), 0.5);
  EXPECT_EQ(rt::timeSerial(36, 0, 0), 1.5);
  EXPECT_EQ(rt::timeSerial(-6, 0, 0), -0.25);
}

TEST(DateValue, TwoDigitYearsAndOutOfRangeYears) {
  EXPECT_EQ(rt::dateSerial(5, 6, 7), rt::dateSerial(2005, 6, 7));
  EXPECT_EQ(rt::dateSerial(29, 1, 1), rt::dateSerial(2029, 1, 1));
  EXPECT_EQ(rt::dateSerial(30, 1, 1), rt::dateSerial(1930, 1, 1));
  EXPECT_EQ(rt::dateSerial(0, 1, 1), rt::dateSerial(2000, 1, 1));
  EXPECT_EQ(rt::dateSerial(99, 13, 1), rt::dateSerial(2000, 1, 1));
  EXPECT_EQ(rt::makeDate(100, 1, 0, 24, 0, 0), rt::dateSerial(100, 1, 1));  // back in range

  EXPECT_EQ(raisedNumber([] { rt::dateSerial(10000, 1, 1); }), 5);
  EXPECT_EQ(raisedNumber([] { rt::dateSerial(100, 1, 0); }), 5);
  EXPECT_EQ(raisedNumber([] { rt::dateSerial(-1, 1, 1); }), 5);
  EXPECT_EQ(raisedNumber([] { rt::dateSerial(9999, 12, 32); }), 5);
  EXPECT_EQ(raisedNumber([] { rt::makeDate(9999, 12, 31, 24, 0, 0); }), 5);
  EXPECT_EQ(raisedNumber([] { rt::dateSerial(2024, INT32_MAX, INT32_MAX); }), 5);
  EXPECT_EQ(raisedNumber([] { rt::makeDate(INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN,
                                           INT32_MIN); }),
            5);
}

TEST(DateValue, DatesBeforeTheOriginCarryTheirTimeAwayFromZero) {
  EXPECT_EQ(rt::makeDate(1899, 12, 29, 6, 0, 0), -1.25);
  EXPECT_EQ(rt::splitDate(-1.25), (DateParts{1899, 12, 29, 6, 0, 0}));
  EXPECT_EQ(rt::splitDate(-1.0), (DateParts{1899, 12, 29, 0, 0, 0}));
  // Between -1 and 0 the day is still 1899-12-30.
  EXPECT_EQ(rt::splitDate(-0.5), (DateParts{1899, 12, 30, 12, 0, 0}));
  EXPECT_EQ(rt::splitDate(-2.75), (DateParts{1899, 12, 28, 18, 0, 0}));
  EXPECT_EQ(rt::makeDate(1800, 7, 14, 18, 0, 0), qtDays(1800, 7, 14) - 0.75);
  // Time carry across the origin.
  EXPECT_EQ(rt::makeDate(1899, 12, 30, -6, 0, 0), -1.75);
  EXPECT_EQ(rt::makeDate(1899, 12, 29, 30, 0, 0), 0.25);
}

TEST(DateValue, SplittingRoundsToTheSecondWithoutDrift) {
  EXPECT_EQ(rt::splitDate(0.0), (DateParts{1899, 12, 30, 0, 0, 0}));
  EXPECT_EQ(rt::splitDate(45000 + 0.1 + 0.2 + 0.2), rt::splitDate(45000.5));
  EXPECT_EQ(rt::splitDate(45000.5).hour, 12);
  EXPECT_EQ(rt::splitDate(45000.5 - 1e-9).hour, 12);
  // Sums of one-second steps stay on the second.
  double v = rt::dateSerial(2024, 3, 15);
  for (int i = 0; i < 3600; ++i) v += 1.0 / 86400;
  EXPECT_EQ(rt::splitDate(v), (DateParts{2024, 3, 15, 1, 0, 0}));
  // 23:59:59.6 rounds to the next day, for days on both sides of the origin.
  EXPECT_EQ(rt::splitDate(45000 + 86399.6 / 86400), (DateParts{2023, 3, 16, 0, 0, 0}));
  EXPECT_EQ(rt::splitDate(-1 - 86399.6 / 86400), (DateParts{1899, 12, 30, 0, 0, 0}));

  EXPECT_EQ(raisedNumber([] { rt::splitDate(NAN); }), 5);
  EXPECT_EQ(raisedNumber([] { rt::splitDate(INFINITY); }), 5);
  EXPECT_EQ(raisedNumber([] { rt::splitDate(1e300); }), 5);
  EXPECT_EQ(raisedNumber([] { rt::splitDate(2958466.0); }), 5);
  EXPECT_EQ(raisedNumber([] { rt::splitDate(-657435.0); }), 5);
  EXPECT_EQ(raisedNumber([] { rt::splitDate(2958465.99999999); }), 5);  // rounds past 9999
  EXPECT_EQ(rt::splitDate(-657434.999), (DateParts{100, 1, 1, 23, 58, 34}));
}

TEST(DateValue, DateKeysRoundTripOverRandomMoments) {
  QRandomGenerator random(20240315);
  for (int i = 0; i < 5000; ++i) {
    const int year = random.bounded(100, 10000);
    const int month = random.bounded(1, 13);
    const int day = random.bounded(1, QDate(year, month, 1).daysInMonth() + 1);
    const int hour = random.bounded(24), minute = random.bounded(60), second = random.bounded(60);
    const rt::DateValue value = rt::makeDate(year, month, day, hour, minute, second);
    const double days = qtDays(year, month, day);
    const double expected = days + std::copysign((hour * 3600 + minute * 60 + second) / 86400.0,
                                                 days < 0 ? -1.0 : 1.0);
    ASSERT_NEAR(value, expected, 1e-9) << year << "-" << month << "-" << day;

    const QString key = rt::toDateKey(value);
    const QString built = QStringLiteral("%1%2%3%4%5%6")
                              .arg(year, 4, 10, QLatin1Char('0'))
                              .arg(month, 2, 10, QLatin1Char('0'))
                              .arg(day, 2, 10, QLatin1Char('0'))
                              .arg(hour, 2, 10, QLatin1Char('0'))
                              .arg(minute, 2, 10, QLatin1Char('0'))
                              .arg(second, 2, 10, QLatin1Char('0'));
    ASSERT_EQ(key, built);
    const std::optional<rt::DateValue> back = rt::fromDateKey(key);
    ASSERT_TRUE(back.has_value()) << key.toStdString();
    ASSERT_EQ(*back, value);
    ASSERT_EQ(rt::toDateKey(*back), key);
  }
}

TEST(DateValue, DateKeysAreStrict) {
  EXPECT_EQ(rt::toDateKey(0.0), QString());
  EXPECT_EQ(rt::toDateKey(-1.25), QStringLiteral("18991229060000"));
  EXPECT_EQ(rt::toDateKey(rt::makeDate(2024, 3, 15, 14, 30, 25)), QStringLiteral("20240315143025"));
  EXPECT_EQ(rt::fromDateKey(QStringLiteral("18991230000000")), 0.0);
  EXPECT_EQ(rt::fromDateKey(QStringLiteral("20240229235959")),
            rt::makeDate(2024, 2, 29, 23, 59, 59));
  for (const char* bad : {"", "2024031514302", "202403151430251", "20230229120000", "20241301000000",
                          "20240100000000", "20240315240000", "20240315126000", "20240315120060",
                          "00990101000000", "2024031514302x", " 0240315143025", "2024-3-15143025",
                          "+0240315143025"}) {
    EXPECT_FALSE(rt::fromDateKey(QString::fromLatin1(bad)).has_value()) << bad;
  }
  // Digits of other scripts are not key digits.
  EXPECT_FALSE(rt::fromDateKey(QStringLiteral("2024031514302") + QChar(0x0665)).has_value());
}

TEST(DateValue, GeneralDateText) {
  EXPECT_EQ(rt::generalDateText(rt::makeDate(2024, 3, 5, 14, 3, 9)),
            QStringLiteral("05/03/2024 14:03:09"));
  EXPECT_EQ(rt::generalDateText(rt::dateSerial(2024, 3, 5)), QStringLiteral("05/03/2024"));
  EXPECT_EQ(rt::generalDateText(0.75), QStringLiteral("18:00:00"));
  EXPECT_EQ(rt::generalDateText(0.0), QStringLiteral("00:00:00"));
  EXPECT_EQ(rt::generalDateText(-1.25), QStringLiteral("29/12/1899 06:00:00"));
  EXPECT_EQ(rt::generalDateText(-0.5), QStringLiteral("12:00:00"));
  EXPECT_EQ(rt::generalDateText(rt::dateSerial(999, 1, 2)), QStringLiteral("02/01/0999"));
  EXPECT_EQ(rt::generalDateText(1.0 - 0.1 / 86400), QStringLiteral("31/12/1899"));
  EXPECT_EQ(rt::generalDateText(45000.5 + 0.4 / 86400), QStringLiteral("15/03/2023 12:00:00"));
}

TEST(DateValue, ReadsAcceptedDateForms) {
  const rt::DateValue moment = rt::makeDate(2024, 3, 15, 14, 30, 25);
  EXPECT_EQ(rt::readDate(QStringLiteral("15/03/2024 14:30:25")), moment);
  EXPECT_EQ(rt::readDate(QStringLiteral("  15/3/2024   14:30:25 ")), moment);
  EXPECT_EQ(rt::readDate(QStringLiteral("2024/03/15 14:30:25")), moment);
  EXPECT_EQ(rt::readDate(QStringLiteral("2024-03-15\t14:30:25")), moment);
  EXPECT_EQ(rt::readDate(QStringLiteral("15.03.2024 14:30")), rt::makeDate(2024, 3, 15, 14, 30, 0));
  EXPECT_EQ(rt::readDate(QStringLiteral("15/03/2024")), rt::dateSerial(2024, 3, 15));
  EXPECT_EQ(rt::readDate(QStringLiteral("15/03/24")), rt::dateSerial(2024, 3, 15));
  EXPECT_EQ(rt::readDate(QStringLiteral("15/03/98")), rt::dateSerial(1998, 3, 15));
  EXPECT_EQ(rt::readDate(QStringLiteral("29/02/2024")), rt::dateSerial(2024, 2, 29));
  EXPECT_EQ(rt::readDate(QStringLiteral("31/12/9999 23:59:59")), rt::makeDate(9999, 12, 31, 23, 59, 59));
  EXPECT_EQ(rt::readDate(QStringLiteral("29/12/1899 06:00")), -1.25);
  EXPECT_EQ(rt::readDate(QStringLiteral("18:00")), 0.75);
  EXPECT_EQ(rt::readDate(QStringLiteral("0:00:00")), 0.0);
  EXPECT_EQ(rt::readDate(QStringLiteral("23:59:59")), 86399.0 / 86400);
  // What the general date text writes reads back.
  for (rt::DateValue v : {moment, rt::dateSerial(1850, 6, 1), 0.25, -1.25})
    EXPECT_EQ(rt::readDate(rt::generalDateText(v)), v) << rt::generalDateText(v).toStdString();
  EXPECT_TRUE(rt::readsAsDate(QStringLiteral("01/01/2000")));
}

TEST(DateValue, RefusesWhatIsNotADate) {
  for (const char* bad :
       {"", "   ", "abc", "31/02/2020", "29/02/2023", "13/13/2020", "00/01/2020", "15/00/2020",
        "15/03/2024 24:00", "15/03/2024 12:60", "15/03/2024 12:00:60", "24:00", "12", "12.5",
        "1.5.", "15/03", "15/03/2024/1", "15/03-2024", "15/03/0099", "01/01/10000",
        "2024/15/03", "15/03/2024 12", "15/03/2024 12:00 x", "12:", ":30", "1:2:3:4",
        "15/03/2024T12:00", "-15/03/2024", "15/ 03/2024", "+1/03/2024", "015/03/2024"}) {
    EXPECT_FALSE(rt::readDate(QString::fromLatin1(bad)).has_value()) << bad;
    EXPECT_FALSE(rt::readsAsDate(QString::fromLatin1(bad))) << bad;
  }
}

TEST(DateValue, NowIsTheLocalClockToTheSecond) {
  const QDateTime before = QDateTime::currentDateTime();
  const rt::DateValue value = rt::now();
  const QDateTime after = QDateTime::currentDateTime();
  const DateParts p = rt::splitDate(value);
  const QDateTime read(QDate(p.year, p.month, p.day), QTime(p.hour, p.minute, p.second));
  EXPECT_GE(read, before.addMSecs(-before.time().msec()));
  EXPECT_LE(read, after);
}

// Runs the test body in a time zone three hours east of UTC, so local time differs from UTC.
struct EastTimeZone {
  QByteArray saved = qgetenv("TZ");
  bool had = qEnvironmentVariableIsSet("TZ");
  EastTimeZone() { setZone("UTC-3"); }
  ~EastTimeZone() {
    if (had) {
      setZone(saved);
    } else {
      qunsetenv("TZ");
      tzset();
    }
  }
  static void setZone(const QByteArray& zone) {
    qputenv("TZ", zone);
    tzset();
  }
};

TEST(DateValue, FileModificationDateIsLocalToTheSecond) {
  EastTimeZone zone;
  ASSERT_EQ(QDateTime(QDate(2021, 7, 14), QTime(9, 0)).offsetFromUtc(), 3 * 3600);
  const QString dir = testsupport::makeTempDir();
  const QString path = dir + QStringLiteral("/picture.jpg");
  ASSERT_TRUE(testsupport::writeFile(path, "x"));
  const QDateTime stamp(QDate(2021, 7, 14), QTime(9, 5, 7, 800));  // local time
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  ASSERT_TRUE(file.setFileTime(stamp, QFileDevice::FileModificationTime));
  file.close();
  EXPECT_EQ(rt::fileModificationDate(path), rt::makeDate(2021, 7, 14, 9, 5, 7));

  EXPECT_FALSE(rt::fileModificationDate(dir + QStringLiteral("/missing.jpg")).has_value());
  EXPECT_FALSE(rt::fileModificationDate(QString()).has_value());
  EXPECT_FALSE(rt::fileModificationDate(path + QStringLiteral("/below-a-file")).has_value());
}
