// Start-up as the user feels it: from the process start to the main window shown with its
// first form, on a database of 4 persons x 10 years x 4 readings a day, against a minimal Qt
// program of our own that shows an empty main window (the floor of any Qt program here). The
// start's two fixed pauses (300 ms and 200 ms) are left out.
//
// The program's folder holds what the installed program has beside it: the sample files, and
// the pictures it shows at start (splash, toolbar, the Measurement form's picture).
//
// Run without arguments; the program starts itself again as the measured child:
//   bench_shell --child program <folder>   the program's start on the database in <folder>
//   bench_shell --child floor              an empty QMainWindow
//   bench_shell --child stages <folder>    the start's steps one by one, each timed (where the
//                                          time goes; the measured start runs them through Main)
#include "data/Globals.h"
#include "data/clsAverage.h"
#include "data/clsCreateMDB.h"
#include "data/clsModifyMDB.h"
#include "data/clsModifyMDB1.h"
#include "data/modFunctions.h"
#include "data/modHealth.h"
#include "platform/runtime/ui/Form.h"
#include "platform/runtime/ui/Interaction.h"
#include "platform/runtime/ui/RuntimeServices.h"
#include "platform/services/Services.h"
#include "shell/frmSplash.h"
#include "shell/mdiHealth.h"
#include "shell/modHealthMain.h"
#include "support/BenchSupport.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QProcess>
#include <QRandomGenerator>
#include <cstdio>

using namespace bench;

namespace {

constexpr int kPersons = 4;
constexpr int kYears = 10;
constexpr int kRuns = 5;

class NoPause : public vb::PauseService {
public:
    void Pause(int) override {}
};

int childProgram(int argc, char** argv, const QString& folder)
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    App::setPath(folder);
    services::InstallRealServices();
    vb::Runtime().pause = std::make_shared<NoPause>();
    modHealth::Main();
    mdiHealth* main = mdiHealth::Loaded();
    if (!main || !main->isVisible())
        return 2;
    QApplication::processEvents(); // the first form painted
    std::printf("ready\n");
    std::fflush(stdout);
    vb::DestroyAllForms();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}

// The steps of the start in Main's order, each printed with its time.
int childStages(int argc, char** argv, const QString& folder)
{
    QElapsedTimer t;
    t.start();
    auto step = [&t](const char* name) {
        std::printf("stage %s: %.3f ms\n", name, msSince(t));
        t.restart();
    };
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    App::setPath(folder);
    services::InstallRealServices();
    vb::Runtime().pause = std::make_shared<NoPause>();
    step("application");
    modFunctions::setSplashStatusHook(&frmSplash::ShowStatus);
    vb::defaultInstance<frmSplash>().Show();
    vb::DoEvents();
    step("splash");
    clsCreateMDB().OpenOrCreateDatabase();
    step("database open");
    clsModifyMDB().runUpgrade();
    clsModifyMDB1().runUpgrade();
    step("upgrade checks");
    modHealth::FixMultiplePersonPlot();
    step("multiple plot fix");
    vb::defaultInstance<mdiHealth>().Load();
    step("main window with its first form");
    if (vb::FormBase* splash = vb::Forms().Find(QStringLiteral("frmSplash")))
        splash->Unload();
    QApplication::processEvents();
    step("first paint");
    std::fflush(stdout);
    vb::DestroyAllForms();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}

int childFloor(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(707, 530);
    window.show();
    QApplication::processEvents();
    std::printf("ready\n");
    std::fflush(stdout);
    return 0;
}

// The database the program opens: its own creation and upgrade (with the sample person), then
// 4 persons with 10 years of readings and their averages.
void buildDatabase()
{
    clsCreateMDB().OpenOrCreateDatabase();
    clsModifyMDB().runUpgrade();
    clsModifyMDB1().runUpgrade();
    sqlite3* db = gDB->handle();
    std::vector<int> persons;
    for (int p = 0; p < kPersons; ++p) {
        gDB->Execute(QStringLiteral("insert into person (prsn_nm) values ('Bench %1')").arg(p + 1), dao::dbFailOnError);
        auto rs = gDB->OpenRecordset(QStringLiteral("select max(prsn_ky) from person"), dao::dbOpenSnapshot);
        persons.push_back(rs->Fields(0).Value().toInt());
    }
    QRandomGenerator rng(4242);
    exec(db, "BEGIN");
    {
        Stmt ins(db, "INSERT INTO MEASURE (PRSN_KY, MSRD_DT, LBP, HBP, PLSE, WT) VALUES (?,?,?,?,?,?)");
        const QDate first(2010, 1, 1);
        const QDate end = first.addYears(kYears);
        for (int person : persons)
            for (QDate d = first; d < end; d = d.addDays(1))
                for (int h : {7, 12, 18, 22}) {
                    const QByteArray when =
                        d.toString(Qt::ISODate).toLatin1() + ' ' + QByteArray::number(h).rightJustified(2, '0') + ":00:00";
                    sqlite3_bind_int(ins.get(), 1, person);
                    sqlite3_bind_text(ins.get(), 2, when.constData(), int(when.size()), SQLITE_TRANSIENT);
                    sqlite3_bind_int(ins.get(), 3, 60 + int(rng.bounded(40)));
                    sqlite3_bind_int(ins.get(), 4, 100 + int(rng.bounded(70)));
                    sqlite3_bind_int(ins.get(), 5, 50 + int(rng.bounded(50)));
                    sqlite3_bind_double(ins.get(), 6, double(float(60 + rng.bounded(400) / 10.0)));
                    ins.step();
                    ins.reset();
                }
    }
    exec(db, "COMMIT");
    clsAverage().RebuildAllAverages();
    // The first person of the benchmark is the current one at start, as after a day's use.
    gDB->Execute(QStringLiteral("update application set gblPrsnKy = %1").arg(persons.front()), dao::dbFailOnError);
    clsCreateMDB().CloseDatabase();
}

// Copies a folder beside the benchmark, with its subfolders, into the program folder.
void copyFolder(const QString& name, const QString& programFolder)
{
    const QDir from(QCoreApplication::applicationDirPath() + QLatin1Char('/') + name);
    if (!from.exists())
        throw std::runtime_error("no folder " + name.toStdString() + " beside the benchmark");
    QDirIterator it(from.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = programFolder + QLatin1Char('/') + name + QLatin1Char('/') + from.relativeFilePath(file);
        QDir().mkpath(QFileInfo(target).path());
        if (!QFile::copy(file, target))
            throw std::runtime_error("cannot copy " + file.toStdString());
    }
}

double timeChild(const QString& self, const QStringList& args)
{
    std::vector<double> runs;
    for (int i = 0; i < kRuns; ++i) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer t;
        t.start();
        child.start(self, args);
        if (!child.waitForStarted(10000))
            throw std::runtime_error("the child did not start");
        QByteArray out;
        while (!out.contains("ready") && child.waitForReadyRead(60000))
            out += child.readAllStandardOutput();
        const double ms = msSince(t);
        child.waitForFinished(60000);
        if (!out.contains("ready"))
            throw std::runtime_error("the child did not get ready: " + out.toStdString());
        runs.push_back(ms);
    }
    return median(runs);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && QByteArray(argv[1]) == "--child") {
        if (QByteArray(argv[2]) == "floor")
            return childFloor(argc, argv);
        if (QByteArray(argv[2]) == "program" && argc >= 4)
            return childProgram(argc, argv, QString::fromLocal8Bit(argv[3]));
        if (QByteArray(argv[2]) == "stages" && argc >= 4)
            return childStages(argc, argv, QString::fromLocal8Bit(argv[3]));
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication app(argc, argv);
    try {
        ProgramFolder folder;
        for (const char* name : {"images", "picture"})
            copyFolder(QLatin1String(name), folder.path());
        QElapsedTimer t;
        t.start();
        buildDatabase();
        std::printf("# database of %d persons x %d years x 4 readings a day built in %.0f ms\n", kPersons, kYears, msSince(t));
        const QString self = QCoreApplication::applicationFilePath();
        const double program = timeChild(self, {QStringLiteral("--child"), QStringLiteral("program"), folder.path()});
        const double floor = timeChild(self, {QStringLiteral("--child"), QStringLiteral("floor")});
        figure("start to main window with its first form", program, "ms");
        figure("start of an empty Qt main window", floor, "ms");
        ratio("start-up program/empty Qt window", program / floor);
        // Where the time goes, from one run of the steps after the measured ones.
        QProcess stages;
        stages.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        stages.start(self, {QStringLiteral("--child"), QStringLiteral("stages"), folder.path()});
        stages.waitForFinished(60000);
        std::fputs(stages.readAllStandardOutput().constData(), stdout);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_shell: %s\n", e.what());
        return 1;
    }
    return 0;
}
