#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include "store/uitext.h"
#include "support/apppaths.h"

namespace {

// Every key the program looks up, by the area that shows it. A key missing
// from a text file would appear on screen as the bare key.
// clang-format off
const char* const kUiKeys[] = {
    // start-up
    "app_already_startup", "ask_reopen_dlg",
    // main window
    "app_name", "ask_exit_app", "working", "gone_time", "today_task_list", "play_task_list",
    "music_stock_list", "speak_list", "tts_task", "tts_list", "play_effect", "play_pause",
    "play_continue", "palvo_enterprise_name",
    // system settings
    "fmt_set_valid_start_time", "fmt_set_valid_end_time", "fmt_end_time_err", "week_MON",
    "week_TUE", "week_WED", "week_THU", "week_FRI", "week_SAT", "week_SUN",
    // about box and device information
    "enterprise_comment", "sw_ver", "fw_ver", "proc_info", "man_info", "support", "unsupport",
    "bluetooth", "preemphasis", "temp_support", "power_measure", "volumn_range", "power_range",
    "freq_range", "none",
    // music file dialogs
    "music_file",
    // today's music
    "music_task", "no_play_task", "play_num", "time", "volumn", "music_name", "background",
    "time_length",
    // instant speech
    "seq", "title", "wait_for_speaking",
    // transmitter
    "connect_device", "ok_connect_device", "failed_to_connect_device", "connected", "unconnect",
    "shutdown", "disconnect", "reboot", "locked", "failed_to_create_player", "cur_freq",
    "cur_power", "fwd_power", "ref_power", "temp", "rdsid", "stereo_state", "bluetooth_state",
    "part_a", "part_b", "part_c", "fmt_modify_err",
    // music library
    "ensure_del_category", "entry_category_name", "music_exist_category", "music_file_missing",
    "name", "sel_play_music", "the_category_exist_reentry",
    // music tasks
    "ensure_del_music_task", "without_matched_music_task", "datetime", "enable", "disable",
    "task_name",
    // music task editor
    "etime_cannt_greater_tast_etime", "fmt_music_time_range_exceed", "fmt_num",
    "fmt_play_time_len", "fmt_task_time_range", "fmt_time_set_err", "fmt_time_set_range_err",
    "insert_play", "music_dont_exist_reentry", "music_exist_rechoice", "play_rule",
    "set_play_time_for_music", "stime_cannt_greater_etime", "stime_cannt_lesser_task_stime",
    "the_music_exist_rechoice", "type", "unlimit_num", "end_date_smaller_err",
    "end_time_smaller_err", "entry_music_file", "entry_task_name", "input_valid_start_time",
    "input_valid_end_time",
    // scripts
    "ensure_del_tts", "entry_tts_content", "entry_tts_title", "tts_content", "tts_title",
    // speech tasks and their editor
    "ensure_del_speak_task", "without_match_speak_task", "interval", "entry_speak_content",
    "label_none", "music_exist_reentry",
    // background music
    "bkmusic_exist_rechoice", "the_bkmusic_exist_rechoice", "ensure_del_bkmusic",
    // login
    "entry_loginid", "entry_pwd", "entry_pwd_to_verify_permissions", "no_loginid", "pwd_err",
    "pwd_verify",
    // user management
    "administrator", "operator", "cant_del_admin_user", "ensure_del_user", "entry_user_name",
    "entry_user_pwd", "loginid_len_err", "pwd_len_err", "pwd_not_consistent",
    "reentry_because_uname_exist", "user_edit_edit", "user_edit_modify_pwd", "user_edit_new",
    "user_group", "user_name",
    // every administrator-only action
    "only_admin_role_to_exec",
    // data files
    "fmt_data_folder_unwritable", "fmt_path_bad_chars",
};
// clang-format on

// What each caller passes to its "fmt_" text, in order.
const QMap<QString, QString> kFormatValues = {
    {"fmt_set_valid_start_time", "%s"},    // weekday name
    {"fmt_set_valid_end_time", "%s"},      // weekday name
    {"fmt_end_time_err", "%s"},            // weekday name
    {"fmt_modify_err", "%s"},              // name of the refused transmitter setting
    {"fmt_music_time_range_exceed", "%s"}, // list of file names, one per line
    {"fmt_num", "%d"},                     // play count
    {"fmt_play_time_len", "%s"},           // total length as a duration text
    {"fmt_task_time_range", "%s%s"},       // task window start and end as HH:MM
    {"fmt_time_set_err", "%d"},            // time point field number
    {"fmt_time_set_range_err", "%d"},      // time point field number
    {"fmt_data_folder_unwritable", "%s"},  // the folder or file that cannot be written
    {"fmt_path_bad_chars", "%s"},          // the refused file path
};

QString ShippedFile(const QString& name) {
    return QStringLiteral(TOLVANE_SOURCE_DIR "/resources/") + name;
}

// The conversions of a text as a printf-style reader would see them, e.g.
// "%s%d"; a '%' that starts no conversion shows as "%?".
QString Conversions(const QString& text) {
    static const QRegularExpression conversion(
        QStringLiteral("%[-+ 0#]*[0-9*]*(?:\\.[0-9*]*)?(?:hh|h|ll|l|L|I64|z|j|t)?([a-zA-Z])"));
    QString result;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != u'%')
            continue;
        if (i + 1 < text.size() && text.at(i + 1) == u'%') {
            ++i;
            continue;
        }
        const QRegularExpressionMatch m =
            conversion.match(text, i, QRegularExpression::NormalMatch,
                             QRegularExpression::AnchorAtOffsetMatchOption);
        if (!m.hasMatch()) {
            result += QStringLiteral("%?");
            continue;
        }
        QChar type = m.captured(1).at(0);
        if (type == u'i')
            type = u'd';
        result += u'%';
        result += type;
        i = m.capturedEnd(0) - 1;
    }
    return result;
}

// The keys of section [Global] of a text file, read line by line; comments
// and blank lines are skipped.
QStringList FileKeys(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    QStringList keys;
    bool inGlobal = false;
    for (QString line : lines) {
        line = line.trimmed();
        if (line.startsWith(QChar(0xFEFF)))
            line.remove(0, 1);
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            inGlobal = line.compare(QStringLiteral("[Global]"), Qt::CaseInsensitive) == 0;
            continue;
        }
        if (inGlobal)
            keys << line.section(u'=', 0, 0).trimmed();
    }
    return keys;
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

} // namespace

class TestUiText : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void shippedTexts_data();
    void shippedTexts();
    void shippedFormats_data();
    void shippedFormats();
    void shippedFilesAgree();
    void shippedConfig();

    void languageChoosesFile_data();
    void languageChoosesFile();
    void lineBreaksAndMissingTexts();
    void textsAreReadAgain();

    void musicFileFilter_data();
    void musicFileFilter();

    void formatUiText_data();
    void formatUiText();
    void formatUiTextTypedValues();

    void writeConfigCreatesFile();

private:
    void useFolder(const QString& folder) { SetAppFolderForTests(folder); }
    void useShippedTexts();

    QTemporaryDir* dir_ = nullptr;
};

void TestUiText::init() {
    dir_ = new QTemporaryDir;
    QVERIFY(dir_->isValid());
    useFolder(dir_->path());
    SetUiLanguage(0);
}

void TestUiText::cleanup() {
    SetAppFolderForTests(QString());
    SetUiLanguage(0);
    delete dir_;
    dir_ = nullptr;
}

void TestUiText::useShippedTexts() {
    for (const char* name : {"string_chs.conf", "string_eng.conf"})
        QVERIFY(QFile::copy(ShippedFile(name), dir_->filePath(name)));
}

void TestUiText::shippedTexts_data() {
    QTest::addColumn<int>("langId");
    QTest::newRow("chinese") << 0;
    QTest::newRow("english") << 1;
}

void TestUiText::shippedTexts() {
    QFETCH(int, langId);
    useShippedTexts();
    SetUiLanguage(langId);
    QStringList missing;
    for (const char* key : kUiKeys) {
        const QString text = GetUiText(QString::fromLatin1(key));
        if (text.trimmed().isEmpty() || text == QLatin1String(key))
            missing << QString::fromLatin1(key);
    }
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(u' ')));
}

void TestUiText::shippedFormats_data() {
    QTest::addColumn<int>("langId");
    QTest::newRow("chinese") << 0;
    QTest::newRow("english") << 1;
}

void TestUiText::shippedFormats() {
    QFETCH(int, langId);
    useShippedTexts();
    SetUiLanguage(langId);
    for (const char* key : kUiKeys) {
        const QString name = QString::fromLatin1(key);
        const QString found = Conversions(GetUiText(name));
        if (name.startsWith(QLatin1String("fmt_"))) {
            QVERIFY2(kFormatValues.contains(name), qPrintable(name + " has no expected values"));
            QVERIFY2(found == kFormatValues.value(name),
                     qPrintable(QStringLiteral("%1: %2 instead of %3")
                                    .arg(name, found, kFormatValues.value(name))));
        } else {
            // Plain texts are shown as they are; a conversion there would show raw.
            QVERIFY2(found.isEmpty(), qPrintable(name + " holds " + found));
        }
    }
}

void TestUiText::shippedFilesAgree() {
    const QSet<QString> wanted = [] {
        QSet<QString> keys;
        for (const char* key : kUiKeys)
            keys.insert(QString::fromLatin1(key));
        return keys;
    }();
    for (const char* name : {"string_chs.conf", "string_eng.conf"}) {
        const QString path = ShippedFile(name);
        QFile file(path);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
        QCOMPARE(file.read(3), QByteArray("\xEF\xBB\xBF"));

        const QStringList keys = FileKeys(path);
        const QSet<QString> unique(keys.begin(), keys.end());
        QCOMPARE(unique.size(), keys.size()); // no key twice
        QCOMPARE(unique, wanted);             // every key, and no stray one

        // The program folder of the build holds the same texts.
        QFile built(QStringLiteral(TOLVANE_BIN_DIR "/") + name);
        QVERIFY2(built.open(QIODevice::ReadOnly), qPrintable(built.fileName()));
        file.seek(0);
        QVERIFY2(built.readAll() == file.readAll(), qPrintable(built.fileName() + " is stale"));
    }
}

void TestUiText::shippedConfig() {
    QVERIFY(QFile::copy(ShippedFile("app.conf"), dir_->filePath("app.conf")));
    QCOMPARE(ReadConfig("LangId"), QString("0"));
    QCOMPARE(ReadConfig("LoginUser"), QString());
    QCOMPARE(ReadConfig("MusicFileExtension"), QString("*.mp3; *.wmv; *.wav"));
    QVERIFY(ReadConfig("IdleTime").toInt() >= 0);
}

void TestUiText::languageChoosesFile_data() {
    QTest::addColumn<int>("langId");
    QTest::addColumn<QString>("expected");
    QTest::newRow("0 is Chinese") << 0 << QString::fromUtf8("中文");
    QTest::newRow("1 is English") << 1 << QString("English");
    QTest::newRow("2 is English too") << 2 << QString("English");
    QTest::newRow("negative is English") << -1 << QString("English");
}

void TestUiText::languageChoosesFile() {
    QFETCH(int, langId);
    QFETCH(QString, expected);
    QVERIFY(WriteFile(dir_->filePath("string_chs.conf"), QByteArray("\xEF\xBB\xBF[Global]\nlang=") +
                                                             QString::fromUtf8("中文").toUtf8() +
                                                             "\n"));
    QVERIFY(WriteFile(dir_->filePath("string_eng.conf"), "[Global]\nlang=English\n"));
    SetUiLanguage(langId);
    QCOMPARE(UiLanguage(), langId);
    QCOMPARE(GetUiText("lang"), expected);
}

void TestUiText::lineBreaksAndMissingTexts() {
    QVERIFY(WriteFile(dir_->filePath("string_chs.conf"),
                      "[Global]\ntwo_lines=A\\nB\ncrlf=A\\r\\nB\nbackslash=C:\\data\\x\n"
                      "long=" +
                          QByteArray(1000, 'x') + "\n"));
    QCOMPARE(GetUiText("two_lines"), QString("A\nB"));
    QCOMPARE(GetUiText("crlf"), QString("A\r\nB"));
    QCOMPARE(GetUiText("backslash"), QString("C:\\data\\x")); // only \r and \n are special
    QCOMPARE(GetUiText("long"), QString(1000, u'x'));         // never cut short
    QCOMPARE(GetUiText("ask_exit_app"), QString("ask_exit_app"));

    SetUiLanguage(1); // no English file at all
    QCOMPARE(GetUiText("two_lines"), QString("two_lines"));
}

void TestUiText::textsAreReadAgain() {
    const QString path = dir_->filePath("string_chs.conf");
    QVERIFY(WriteFile(path, "[Global]\nworking=first\n"));
    QCOMPARE(GetUiText("working"), QString("first"));
    QVERIFY(WriteFile(path, "[Global]\nworking=second\n"));
    QCOMPARE(GetUiText("working"), QString("second"));
}

void TestUiText::musicFileFilter_data() {
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<QString>("filter");
    QTest::newRow("no setting") << QByteArray() << "Music files (*.mp3 *.wmv *.wav)";
    QTest::newRow("only mp3") << QByteArray("MusicFileExtension=*.mp3") << "Music files (*.mp3)";
    QTest::newRow("empty") << QByteArray("MusicFileExtension=") << "Music files ()";
    QTest::newRow("untidy separators") << QByteArray("MusicFileExtension=*.mp3;*.ogg ;  *.flac;")
                                       << "Music files (*.mp3 *.ogg *.flac)";
}

void TestUiText::musicFileFilter() {
    QFETCH(QByteArray, config);
    QFETCH(QString, filter);
    QVERIFY(WriteFile(dir_->filePath("string_eng.conf"), "[Global]\nmusic_file=Music files\n"));
    QVERIFY(WriteFile(dir_->filePath("app.conf"), "[Global]\n" + config + "\n"));
    SetUiLanguage(1);
    QCOMPARE(MusicFileFilter(), filter);
}

void TestUiText::formatUiText_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QString>("result");
    const QVariantList monday{QString("Monday")};
    QTest::newRow("string") << "Set %s." << monday << "Set Monday.";
    QTest::newRow("number") << "Field %d" << QVariantList{3} << "Field 3";
    QTest::newRow("two in order") << "%s~%s" << QVariantList{"08:00", "12:00"} << "08:00~12:00";
    QTest::newRow("percent") << "100%% of %d%%" << QVariantList{5} << "100% of 5%";
    QTest::newRow("missing value stays") << "%s and %d" << monday << "Monday and %d";
    QTest::newRow("no values at all") << "%02d:%s" << QVariantList{} << "%02d:%s";
    QTest::newRow("extra values ignored") << "%d" << QVariantList{1, 2} << "1";
    QTest::newRow("zero padded") << "%02d:%02d" << QVariantList{9, 5} << "09:05";
    QTest::newRow("padded negative") << "%05d" << QVariantList{-42} << "-0042";
    QTest::newRow("width and left")
        << "[%4d|%-4d|%3s]" << QVariantList{7, 7, "a"} << "[   7|7   |  a]";
    QTest::newRow("string precision") << "%.2s" << QVariantList{"abc"} << "ab";
    QTest::newRow("unsigned of negative") << "%u" << QVariantList{-1} << "4294967295";
    QTest::newRow("number as string") << "%s" << QVariantList{12} << "12";
    QTest::newRow("string for number shown as is") << "%d" << QVariantList{"x"} << "x";
    // Conversions that would read memory of another type stay as written and
    // use no value.
    QTest::newRow("pointer") << "%p %s" << monday << "%p Monday";
    QTest::newRow("write count") << "%n%s" << monday << "%nMonday";
    QTest::newRow("star width") << "%*d" << QVariantList{5, 1} << "%*d";
    QTest::newRow("huge width") << "%99999d" << QVariantList{1} << "%99999d";
    QTest::newRow("lone percent at end") << "50%" << QVariantList{1} << "50%";
    QTest::newRow("percent and blank") << "% of" << QVariantList{} << "% of";
}

void TestUiText::formatUiText() {
    QFETCH(QString, format);
    QFETCH(QVariantList, values);
    QFETCH(QString, result);
    QCOMPARE(FormatUiText(format, values), result);
}

void TestUiText::formatUiTextTypedValues() {
    QCOMPARE(FormatUiText("%s: %d/%u", QString("a"), 1, 2u), QString("a: 1/2"));
    QCOMPARE(FormatUiText("%s %s", "x"), QString("x %s"));
    QCOMPARE(FormatUiText("none %d"), QString("none %d"));
}

void TestUiText::writeConfigCreatesFile() {
    const QString path = dir_->filePath("app.conf");
    QVERIFY(!QFile::exists(path));
    QCOMPARE(ReadConfig("LangId"), QString()); // missing file: empty
    QVERIFY(WriteConfig("LangId", "1"));
    QVERIFY(QFile::exists(path));
    QVERIFY(WriteConfig("LoginUser", "Admin"));
    QCOMPARE(ReadConfig("LangId"), QString("1"));
    QCOMPARE(ReadConfig("LoginUser"), QString("Admin"));
    QVERIFY(WriteConfig("LangId", "0")); // replaced, not added twice
    QCOMPARE(ReadConfig("LangId"), QString("0"));
    QCOMPARE(ReadConfig("IdleTime"), QString());

    // A folder that cannot hold the file is reported, not ignored.
    useFolder(dir_->filePath("missing/folder"));
    QVERIFY(!WriteConfig("LangId", "1"));
}

QTEST_GUILESS_MAIN(TestUiText)
#include "tst_uitext.moc"
