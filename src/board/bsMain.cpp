#include "bsMain.h"

#include "BoardIcons.h"
#include "DesktopIntegration.h"
#include "app/ErrorHandler.h"
#include "app/GlobalData.h"
#include "app/MessageFlags.h"
#include "app/TerminationSignals.h"
#include "app/clsGeneralOptions.h"
#include "app/clsIniFile.h"
#include "app/clsSettings.h"
#include "app/ui/QtPrompts.h"
#include "chart/DefaultStyles.h"
#include "chart/GanttData.h"
#include "frmMain.h"
#include "model/clsItems.h"
#include "views/frmMonthView.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QSplashScreen>
#include <QStandardPaths>
#include <QTextStream>

namespace {
QPixmap startupPicture() {
    QPixmap picture(420, 160);
    picture.fill(QColor(47, 93, 153));
    QPainter painter(&picture);
    painter.drawPixmap(24, 32, BoardIcons::appIcon().pixmap(96, 96));
    painter.setPen(Qt::white);
    QFont title = painter.font();
    title.setPointSize(18);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRect(136, 40, 270, 40), Qt::AlignLeft | Qt::AlignVCenter, AppTitle());
    QFont line = painter.font();
    line.setPointSize(10);
    line.setBold(false);
    painter.setFont(line);
    painter.drawText(QRect(136, 84, 270, 24), Qt::AlignLeft | Qt::AlignVCenter,
                     QObject::tr("Version %1 - starting...").arg(AppVersion()));
    return picture;
}

QString documentsFolder() {
    QString folder = GetSpecialFolder(5);
    if (folder.isEmpty()) {
        // A fresh account may have no documents folder yet; the profile file lives there.
        QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        folder = GetSpecialFolder(5);
    }
    return folder;
}

void reportState(frmMain& board) {
    QTextStream out(stdout);
    out << "file=" << board.fileName() << " read-only=" << (IsReadOnly() ? 1 : 0) << Qt::endl;
}
} // namespace

bsMain::bsMain() = default;

bsMain::~bsMain() {
    ReleaseGlobalData();
}

QString bsMain::commandLineOf(const QStringList& arguments) {
    return arguments.join(' ');
}

void bsMain::InitGlobalData() {
    m_chart = std::make_unique<GanttData>();
    m_profile = std::make_unique<clsIniFile>();
    m_profile->setFilename(documentsFolder() + profileName);
    globals().profile = m_profile.get();
    m_settings = std::make_unique<clsSettings>(*m_chart);
    globals().settings = m_settings.get();
    globals().chart = m_chart.get();
    m_board = std::make_unique<frmMain>(*m_chart);
    m_board->windows().monthlyOverview = [](frmMain& board, const QString& resourceKey, TimePoint month) {
        frmMonthView::open(board, &board, resourceKey, month);
    };
    m_items = std::make_unique<clsItems>(*m_chart);
    globals().items = m_items.get();
    m_options = std::make_unique<clsGeneralOptions>(*m_profile);
    globals().options = m_options.get();
    CreateDefaultStyles(*m_chart);
    m_chart->redraw();
}

void bsMain::ReleaseGlobalData() {
    globals().chart = nullptr;
    globals().settings = nullptr;
    m_settings.reset();
    globals().profile = nullptr;
    m_profile.reset();
    globals().items = nullptr;
    m_items.reset();
    globals().options = nullptr;
    m_options.reset();
    m_board.reset();
    m_chart.reset();
}

int bsMain::Main(QApplication& app, const QString& version) {
    // A run that only reports its state never waits for an answer: it keeps the silent prompts.
    const bool reportOnly = qEnvironmentVariableIsSet("QUNTA_REPORT_STATE");
    QtPrompts qtPrompts;
    if (!reportOnly)
        setPrompts(&qtPrompts);
    app.setWindowIcon(BoardIcons::appIcon());
    bsMain program;
    std::unique_ptr<QSplashScreen> startup;
    try {
        startup = std::make_unique<QSplashScreen>(startupPicture());
        startup->show();
        QCoreApplication::processEvents();
        globals().commandLine = commandLineOf(app.arguments().mid(1));
        SetAppVersion(version);
        program.InitGlobalData();
    } catch (...) {
        ShowMessage(QString::fromLatin1(initError), MessageFlags::Critical);
        ignoringErrors([&] {
            startup.reset();
            program.ReleaseGlobalData();
        });
        setPrompts(nullptr);
        return 1;
    }

    const DesktopIntegration::Places places = DesktopIntegration::currentPlaces();
    ignoringErrors([&] { DesktopIntegration::RegisterFileType(places); });
    ignoringErrors([&] { DesktopIntegration::CreateShortcut(places); });

    frmMain& board = *program.board();
    QObject::connect(&board, &frmMain::firstActivationDone, startup.get(), &QWidget::close);
    if (reportOnly) {
        QObject::connect(&board, &frmMain::firstActivationDone, &board, [&board] {
            reportState(board);
            board.Unload();
            QCoreApplication::quit();
        });
    }
    // A logout, a shutdown or `kill` ends the program like a quit that asks nothing and loses nothing.
    const TerminationSignals termination;
    QObject::connect(
        &termination, &TerminationSignals::received, &board,
        [&board](int signalNumber) {
            board.EndWithoutQuestions();
            QCoreApplication::exit(128 + signalNumber);
        },
        Qt::QueuedConnection);
    board.show();
    const int result = app.exec();
    program.ReleaseGlobalData();
    setPrompts(nullptr);
    return result;
}
