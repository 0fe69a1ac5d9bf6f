#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Runs kivo-preview with arguments under a fresh X server and presses keys,
// one for each dialog it shows, as soon as that dialog is up; answers what
// it printed.
QString previewAnswering(const QStringList &arguments, const QStringList &keys)
{
    QTemporaryDir dir;
    EXPECT_TRUE(dir.isValid());
    // Each key goes to the dialog on screen, then waits until that dialog
    // has gone, so the next key reaches the next dialog.
    const QString script = QStringLiteral(R"(
        "$@" &
        preview=$!
        for key in %1; do
            dialog=$(xdotool search --sync --onlyvisible --classname kivo-preview | head -n 1)
            xdotool windowfocus --sync "$dialog" key "$key"
            while xdotool search --onlyvisible --classname kivo-preview | grep -qx "$dialog"; do :; done
        done
        wait $preview)")
                               .arg(keys.join(QLatin1Char(' ')));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.insert("KIVO_LOG_DIR", dir.path());
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start("xvfb-run",
                  QStringList{"-a", "sh", "-c", script, "sh", QStringLiteral(KIVO_PREVIEW_BINARY),
                              "--store", dir.filePath("store.db")} +
                      arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

} // namespace

// Guards against a cancelled picker printed as an empty code and an answer
// printed as the number behind it.
TEST(KivoPreview, PrintsACancelledPickAndTheAnswerInWords)
{
    if (QStandardPaths::findExecutable("xvfb-run").isEmpty() ||
        QStandardPaths::findExecutable("xdotool").isEmpty())
        GTEST_SKIP() << "needs xvfb-run and xdotool";
    EXPECT_TRUE(previewAnswering({"acr"}, {"Escape"}).endsWith("\ncancelled\n"));
    // Information, error, then the question, answered with its default, Yes.
    EXPECT_TRUE(
        previewAnswering({"messages"}, {"Return", "Return", "Return"}).endsWith("\nanswer Yes\n"));
}
