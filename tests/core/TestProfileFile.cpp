#include "ProfileFile.h"

#include <QtTest>

#include <string>

using zevko::ProfileFile;

namespace {

QByteArray Bytes(const std::string& s)
{
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

// A file as a user may have left it: comments, blanks, odd spacing, a key
// before any section, repeated names.
const char* const MessyFile = "; catalog of the workshop\n"
                              "orphan=1\n"
                              "\n"
                              "[Other]\n"
                              "  Name = Zevko  \n"
                              "; D1=77 is only a comment\n"
                              "#D2=78 too\n"
                              "=novalue\n"
                              "[ diam_n ]  ; wires\n"
                              "count=2\n"
                              "d1 = 0.577\n"
                              "D1=9.999\n"
                              "D2=\n"
                              "\n"
                              "[DIAM_N]\n"
                              "D3=5\n";

} // namespace

class TestProfileFile : public QObject {
    Q_OBJECT

private slots:
    void readsValues_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("value");

        QTest::newRow("trimmed value") << "Other"
                                       << "Name" << true << "Zevko";
        QTest::newRow("section and key case-insensitive") << "OTHER"
                                                          << "name" << true << "Zevko";
        QTest::newRow("header with blanks and comment") << "DIAM_N"
                                                        << "COUNT" << true << "2";
        QTest::newRow("first of repeated keys") << "Diam_N"
                                                << "D1" << true << "0.577";
        QTest::newRow("empty value") << "DIAM_N"
                                     << "D2" << true << "";
        QTest::newRow("repeated section not read") << "DIAM_N"
                                                   << "D3" << false << "";
        QTest::newRow("comment is no key") << "Other"
                                           << "D1" << false << "";
        QTest::newRow("hash comment is no key") << "Other"
                                                << "#D2" << false << "";
        QTest::newRow("key before any section") << ""
                                                << "orphan" << false << "";
        QTest::newRow("missing section") << "DIAM_S"
                                         << "COUNT" << false << "";
    }

    void readsValues()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(bool, found);
        QFETCH(QString, value);

        const ProfileFile file(MessyFile);
        const auto v = file.Value(section.toStdString(), key.toStdString());
        QCOMPARE(v.has_value(), found);
        if (found)
            QCOMPARE(QString::fromStdString(*v), value);
    }

    void keysInFileOrderFirstOccurrence()
    {
        const ProfileFile file(MessyFile);
        QCOMPARE(file.Keys("DIAM_N"), (std::vector<std::string>{"count", "d1", "D2"}));
        using Pairs = std::vector<std::pair<std::string, std::string>>;
        QCOMPARE(file.Values("diam_N"), (Pairs{{"count", "2"}, {"d1", "0.577"}, {"D2", ""}}));
        QVERIFY(file.Keys("DIAM_S").empty());
        QVERIFY(file.HasSection("other"));
        QVERIFY(!file.HasSection("DIAM_S"));
    }

    void unchangedTextIsByteForByte_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("messy") << QByteArray(MessyFile);
        QTest::newRow("crlf no final newline") << QByteArray("[A]\r\nx=1\r\n\r\ny=2");
        QTest::newRow("cr only") << QByteArray("[A]\rx=1\r");
        QTest::newRow("mixed endings") << QByteArray("[A]\nx=1\r\ny=2\r");
        QTest::newRow("bom") << QByteArray("\xEF\xBB\xBF[A]\nx=1\n");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("utf-8 text") << QByteArray("; \xD0\xBA\xD0\xB0\xD1\x82\xD0\xB0\xD0\xBB\xD0\xBE\xD0\xB3\n[A]\n");
    }

    void unchangedTextIsByteForByte()
    {
        QFETCH(QByteArray, text);
        const ProfileFile file(text.toStdString());
        QCOMPARE(Bytes(file.Text()), text);
    }

    void writesInPlace_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");

        QTest::newRow("replace keeps spelling and spacing") << QByteArray("[diam_n]\ncount = 2\nD1=1\n") << "DIAM_N"
                                                            << "COUNT"
                                                            << "3" << QByteArray("[diam_n]\ncount = 3\nD1=1\n");
        QTest::newRow("replace drops trailing blanks") << QByteArray("[A]\nx=1   \n") << "A"
                                                       << "X"
                                                       << "22" << QByteArray("[A]\nx=22\n");
        QTest::newRow("new key after the last key of its section")
            << QByteArray("[A]\nx=1\n\n; next\n[B]\ny=2\n") << "A"
            << "z"
            << "3" << QByteArray("[A]\nx=1\nz=3\n\n; next\n[B]\ny=2\n");
        QTest::newRow("new key in a section without keys") << QByteArray("[A]\n; nothing\n[B]\n") << "a"
                                                           << "k"
                                                           << "v" << QByteArray("[A]\nk=v\n; nothing\n[B]\n");
        QTest::newRow("new key in the last section without final newline") << QByteArray("[A]\nx=1") << "A"
                                                                           << "y"
                                                                           << "2" << QByteArray("[A]\nx=1\ny=2\n");
        QTest::newRow("new section at the end") << QByteArray("[A]\nx=1\n") << "B"
                                                << "k"
                                                << "v" << QByteArray("[A]\nx=1\n\n[B]\nk=v\n");
        QTest::newRow("new section after a blank line") << QByteArray("[A]\nx=1\n\n") << "B"
                                                        << "k"
                                                        << "v" << QByteArray("[A]\nx=1\n\n[B]\nk=v\n");
        QTest::newRow("new section without final newline") << QByteArray("; c") << "B"
                                                           << "k"
                                                           << "v" << QByteArray("; c\n\n[B]\nk=v\n");
        QTest::newRow("empty file") << QByteArray() << "DIAM_N"
                                    << "COUNT"
                                    << "0" << QByteArray("[DIAM_N]\nCOUNT=0\n");
        QTest::newRow("crlf file gets crlf lines") << QByteArray("[A]\r\nx=1\r\n") << "A"
                                                   << "y"
                                                   << "2" << QByteArray("[A]\r\nx=1\r\ny=2\r\n");
        QTest::newRow("crlf file new section") << QByteArray("[A]\r\nx=1") << "B"
                                               << "y"
                                               << "2" << QByteArray("[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
        QTest::newRow("cr file") << QByteArray("[A]\rx=1\r") << "a"
                                 << "y"
                                 << "2" << QByteArray("[A]\rx=1\ry=2\r");
        QTest::newRow("bom kept, first section found") << QByteArray("\xEF\xBB\xBF[A]\nx=1\n") << "A"
                                                       << "x"
                                                       << "2" << QByteArray("\xEF\xBB\xBF[A]\nx=2\n");
        QTest::newRow("only the first of repeated sections") << QByteArray("[A]\nx=1\n[a]\nx=1\n") << "A"
                                                             << "x"
                                                             << "2" << QByteArray("[A]\nx=2\n[a]\nx=1\n");
        QTest::newRow("a value cannot add lines") << QByteArray("[A]\nx=1\n") << "A"
                                                  << "x"
                                                  << "2\n[B]" << QByteArray("[A]\nx=2 [B]\n");
    }

    void writesInPlace()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);

        ProfileFile file(before.toStdString());
        file.SetValue(section.toStdString(), key.toStdString(), value.toStdString());
        QCOMPARE(Bytes(file.Text()), after);
        QCOMPARE(QString::fromStdString(file.Value(section.toStdString(), key.toStdString()).value_or("<missing>")),
                 QString(value).replace('\n', ' '));
    }

    void writesSeveralValuesAtOnce_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("existing section")
            << QByteArray("[B]\nx=0\n[A]\nx=1\n\n[C]\n") << QByteArray("[B]\nx=0\n[A]\nx=2\ny=4\nz=5\n\n[C]\n");
        QTest::newRow("new section") << QByteArray("[B]\nx=0\n") << QByteArray("[B]\nx=0\n\n[a]\nx=2\ny=4\nz=5\n");
    }

    void writesSeveralValuesAtOnce()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        ProfileFile file(before.toStdString());
        // A key given twice keeps its first spelling and its last value.
        file.SetValues("a", {{"x", "2"}, {"y", "3"}, {"Y", "4"}, {"z", "5"}});
        QCOMPARE(Bytes(file.Text()), after);
    }

    void integerValues_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");

        QTest::newRow("decimal") << "12" << 12;
        QTest::newRow("leading zeros") << "007" << 7;
        QTest::newRow("negative") << "-3" << -3;
        QTest::newRow("plus") << "+4" << 4;
        QTest::newRow("blanks") << "  5 " << 5;
        QTest::newRow("0x hex") << "0x1A" << 26;
        QTest::newRow("0X hex") << "0X10" << 16;
        QTest::newRow("dollar hex") << "$1f" << 31;
        QTest::newRow("largest") << "2147483647" << 2147483647;
        QTest::newRow("beyond 32 bits") << "2147483648" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("word") << "five" << 0;
        QTest::newRow("trailing garbage") << "12abc" << 0;
        QTest::newRow("fraction") << "1.5" << 0;
        QTest::newRow("bare 0x") << "0x" << 0;
        QTest::newRow("bare dollar") << "$" << 0;
        QTest::newRow("hex digits without prefix") << "1F" << 0;
        QTest::newRow("signed hex") << "0x-1" << 0;
        QTest::newRow("double sign") << "--1" << 0;
    }

    void integerValues()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(zevko::ParseProfileInteger(text.toStdString()), value);
    }
};

QTEST_APPLESS_MAIN(TestProfileFile)
#include "TestProfileFile.moc"
