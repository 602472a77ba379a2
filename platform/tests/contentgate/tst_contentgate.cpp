#include "ContentGate.h"
#include "TestSound.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

class TestContentGate : public QObject
{
    Q_OBJECT

private slots:
    void plainFileName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("plain");
        QTest::newRow("recording") << QStringLiteral("learner_20261211044512.wav") << true;
        QTest::newRow("leading dot") << QStringLiteral(".learner_1.wav") << true;
        QTest::newRow("letters of any script") << QStringLiteral("Übung_日本語_🎧.wav") << true;
        QTest::newRow("spaces") << QStringLiteral("my word.wav") << true;
        QTest::newRow("longest") << QString(255, QLatin1Char('a')) << true;
        QTest::newRow("too long") << QString(256, QLatin1Char('a')) << false;
        QTest::newRow("too long in UTF-8") << QString(128, QChar(0x00FC)) << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("dot") << QStringLiteral(".") << false;
        QTest::newRow("dot dot") << QStringLiteral("..") << false;
        QTest::newRow("climbs") << QStringLiteral("../../../../etc/hostname") << false;
        QTest::newRow("absolute") << QStringLiteral("/etc/hostname") << false;
        QTest::newRow("sub folder") << QStringLiteral("TemplateList/a.wav") << false;
        QTest::newRow("backslash") << QStringLiteral("..\\a.wav") << false;
        QTest::newRow("line feed") << QStringLiteral("a\nb.wav") << false;
        QTest::newRow("tab") << QStringLiteral("a\tb.wav") << false;
        QTest::newRow("NUL") << QString(QStringLiteral("a") + QChar(0) + QStringLiteral(".wav")) << false;
        QTest::newRow("C1 control") << QString(QStringLiteral("a") + QChar(0x85) + QStringLiteral(".wav")) << false;
        QTest::newRow("DEL") << QString(QStringLiteral("a") + QChar(0x7F) + QStringLiteral(".wav")) << false;
        QTest::newRow("right-to-left override")
            << QString(QStringLiteral("evil") + QChar(0x202E) + QStringLiteral("vaw.exe")) << false;
        QTest::newRow("zero-width space")
            << QString(QStringLiteral("a") + QChar(0x200B) + QStringLiteral(".wav")) << false;
        QTest::newRow("line separator") << QString(QStringLiteral("a") + QChar(0x2028) + QStringLiteral(".wav"))
                                        << false;
        QTest::newRow("lone surrogate") << QString(QStringLiteral("a") + QChar(0xD800) + QStringLiteral(".wav"))
                                        << false;
        QTest::newRow("non-character") << QString(QStringLiteral("a") + QChar(0xFFFE) + QStringLiteral(".wav"))
                                       << false;
        QTest::newRow("Qt resource path") << QStringLiteral(":evil.wav") << false;
        QTest::newRow("colon inside") << QStringLiteral("a:b.wav") << true;
    }

    void plainFileName()
    {
        QFETCH(QString, name);
        QFETCH(bool, plain);
        QCOMPARE(ContentGate::isPlainFileName(name), plain);
    }

    // A name joined to a folder names a file there, never one of Qt's resources.
    void filePathIn_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path");
        QTest::newRow("in Content") << "Content"
                                    << "a.wav"
                                    << "Content/a.wav";
        QTest::newRow("resource-like name") << "Content"
                                            << ":evil.wav"
                                            << "Content/:evil.wav";
        QTest::newRow("no folder") << ""
                                   << ":evil.wav"
                                   << "./:evil.wav";
        QTest::newRow("folder with a slash") << "/tmp/x/"
                                             << "a.wav"
                                             << "/tmp/x/a.wav";
        QTest::newRow("resource-like folder") << ":icons"
                                              << "a.wav"
                                              << "./:icons/a.wav";
    }

    void filePathIn()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(QString, path);
        QCOMPARE(ContentGate::filePathIn(folder, name), path);
        QVERIFY(!ContentGate::filePathIn(folder, name).startsWith(QLatin1Char(':')));
    }

    // A file named ":evil.wav" is looked at itself, not as a resource.
    void resourceLikeNameIsAFile()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = ContentGate::filePathIn(dir.path(), QStringLiteral(":evil.wav"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write(QByteArray("RIFF\x04\0\0\0WAVE", 12)) == 12);
        file.close();
        QVERIFY(QFileInfo(path).isFile());
        QCOMPARE(QFileInfo(path).size(), 12);
    }

    // What XML 1.0 cannot hold is found, and dropping it leaves the rest as it was.
    void xmlText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("kept");
        QTest::newRow("plain") << QStringLiteral("Guten Tag") << QStringLiteral("Guten Tag");
        QTest::newRow("white space") << QStringLiteral("a\tb\nc\rd") << QStringLiteral("a\tb\nc\rd");
        QTest::newRow("outside the first plane") << QStringLiteral("🎧 ok") << QStringLiteral("🎧 ok");
        QTest::newRow("NUL") << QString(QStringLiteral("a") + QChar(0) + QStringLiteral("b")) << QStringLiteral("ab");
        QTest::newRow("form feed and 0x1A") << QStringLiteral("a\fb\x1A"
                                                              "c")
                                            << QStringLiteral("abc");
        QTest::newRow("lone high surrogate") << QString(QStringLiteral("a") + QChar(0xD83C)) << QStringLiteral("a");
        QTest::newRow("lone low surrogate") << QString(QChar(0xDFA7) + QStringLiteral("b")) << QStringLiteral("b");
        QTest::newRow("U+FFFF") << QString(QStringLiteral("x") + QChar(0xFFFF)) << QStringLiteral("x");
    }

    void xmlText()
    {
        QFETCH(QString, text);
        QFETCH(QString, kept);
        QCOMPARE(ContentGate::isXmlText(text), text == kept);
        const QString cleaned = ContentGate::toXmlText(text);
        QCOMPARE(cleaned, kept);
        QVERIFY(ContentGate::isXmlText(cleaned));
    }

    // Only a sound that plays, within the size limit, counts as one; the
    // formats themselves are tried against the player in tst_zoaudio.
    void wavFile_data()
    {
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<qint64>("size"); // the file made this long (sparse), unless 0
        QTest::addColumn<QString>("reason");
        const QByteArray wave = TestSound::pcm8(QByteArray(100, '\x80'));
        const QByteArray limit = TestSound::riff(TestSound::chunk("fmt ", TestSound::format(1, 1, 8000, 8))
                                                 + TestSound::chunk("data", QByteArray(), 0xFFFFFFFFu));
        QTest::newRow("wav") << wave << qint64(0) << QString();
        QTest::newRow("largest") << limit << ContentGate::MaxSoundBytes << QString();
        QTest::newRow("too large") << limit << ContentGate::MaxSoundBytes + 1 << "it is larger than 32 MB";
        QTest::newRow("program") << QByteArray("MZ\x90\0\x03\0\0\0\x04\0\0\0", 12) << qint64(4 << 20)
                                 << "it is not a WAV sound";
        QTest::newRow("ogg") << QByteArray("OggS\0\x02\0\0\0\0\0\0", 12) << qint64(100) << "it is not a WAV sound";
        QTest::newRow("riff but not wave")
            << QByteArray("RIFF\x24\0\0\0AVI ", 12) << qint64(100) << "it is not a WAV sound";
        QTest::newRow("signature alone") << QByteArray("RIFF\x24\0\0\0WAVE", 12) << qint64(0)
                                         << "it has no format chunk";
        QTest::newRow("short") << QByteArray("RIFF") << qint64(0) << "it is not a WAV sound";
        QTest::newRow("empty") << QByteArray() << qint64(0) << "it is not a WAV sound";
    }

    void wavFile()
    {
        QFETCH(QByteArray, start);
        QFETCH(qint64, size);
        QFETCH(QString, reason);
        if (size == 0)
            QCOMPARE(ContentGate::isWavHeader(start), reason.isEmpty());
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("a.wav")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(start), start.size());
        if (size > 0)
            QVERIFY(file.resize(size));
        file.close();
        QString why = QStringLiteral("unset");
        QCOMPARE(ContentGate::isWavFile(file.fileName(), &why), reason.isEmpty());
        QCOMPARE(why, reason);
        QVERIFY(!ContentGate::isWavFile(dir.path(), &why));
        QCOMPARE(why, QStringLiteral("it is not a readable file"));
        QVERIFY(!ContentGate::isWavFile(dir.filePath(QStringLiteral("missing.wav"))));
    }
};

QTEST_GUILESS_MAIN(TestContentGate)
#include "tst_contentgate.moc"
