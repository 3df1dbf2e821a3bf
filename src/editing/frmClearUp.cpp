#include "frmClearUp.h"

#include "app/ErrorHandler.h"
#include "app/GlobalData.h"
#include "app/MessageFlags.h"
#include "app/ui/DialogLayout.h"
#include "app/ui/InputFieldFilter.h"
#include "app/ui/OpenModal.h"
#include "app/ui/StepStatus.h"
#include "app/ui/bsInput.h"
#include "editing/core/ItemCleanUp.h"
#include "model/clsItems.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QVBoxLayout>

namespace {
const QString cleanUpIdentity = QStringLiteral("Function:frmClearUp:CleanUp");
const QString checkText = QStringLiteral("Check");
// Often enough for the close box to answer at once, seldom enough that the walk does not wait for it.
constexpr qint64 pauseIntervalMs = 20;
} // namespace

frmClearUp::frmClearUp(QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Delete date items"));
    buildWindow();
    m_filter = InputFieldFilter::install(this);
    m_filter->setKind(tx, InputKind::Date);
}

frmClearUp* frmClearUp::showModal(QWidget* owner) {
    return openModal(new frmClearUp(owner));
}

void frmClearUp::buildWindow() {
    tx = new QLineEdit(this);
    const QFontMetrics metrics(font());
    const int dateWidth = DialogLayout::dateTextWidth(metrics);
    tx->setFixedWidth(dateWidth + 16);
    lblStatus = new QLabel(this);
    lblStatus->setMinimumWidth(metrics.horizontalAdvance(checkText) + dateWidth + 8);

    const QStringList captions = {tr("&OK"), tr("&Return")};
    DialogLayout::makeCommandButtons(cmd, this, captions, [this](int index) { cmd_Click(index); });
    cmd[OkCommand]->setDefault(true);

    auto* field = new QHBoxLayout;
    field->addWidget(DialogLayout::buddyLabel(tr("Delete date items upto"), tx));
    field->addWidget(tx);
    field->addStretch();

    auto* window = new QVBoxLayout(this);
    window->addLayout(field);
    window->addWidget(lblStatus);
    window->addLayout(DialogLayout::buttonRow({cmd[OkCommand], cmd[ReturnCommand]}));
    DialogLayout::setTabChain({tx, cmd[OkCommand], cmd[ReturnCommand]});
}

void frmClearUp::cmd_Click(int index) {
    if (index == OkCommand) {
        if (CleanUp()) {
            accept();
            lblStatus->clear();
        }
    } else if (index == ReturnCommand) {
        close();
    }
}

bool frmClearUp::CleanUp() {
    bool done = false;
    guardedStep(cleanUpIdentity, [&] { done = cleanUp(); });
    return done;
}

bool frmClearUp::cleanUp() {
    m_filter->validateFields();
    const std::optional<QDate> date = FieldDate(tx->text());
    if (!date) {
        ShowMessage(QStringLiteral("You must input a date!"), MessageFlags::OkOnly | MessageFlags::Critical);
        tx->setFocus();
        return false;
    }
    const TimePoint limit = TimePoint::fromDate(*date);
    const QString question =
        FormatMsg(QStringLiteral("Delete all items upto and uncluding %s ?"), limit.shortDate());
    if (ShowMessage(question, MessageFlags::YesNo | MessageFlags::Question | MessageFlags::DefaultButton2) !=
        MessageResult::Yes)
        return false;
    clsItems* items = globals().items;
    if (items == nullptr)
        return true;

    const QScopedValueRollback running(m_running, true);
    m_stop = false;
    m_sincePause.invalidate();
    // A second run must not start inside the first one while window messages run.
    cmd[OkCommand]->setEnabled(false);
    tx->setEnabled(false);
    const auto enableAgain = qScopeGuard([this] {
        cmd[OkCommand]->setEnabled(true);
        tx->setEnabled(true);
    });
    StepStatus status(lblStatus, checkText);
    DeleteItemsUpTo(
        *items, limit, [this] { return letMessagesRun(); }, [&](TimePoint start) { status.show(start); },
        cleanUpIdentity);
    return true;
}

bool frmClearUp::letMessagesRun() {
    if (!m_sincePause.isValid() || m_sincePause.elapsed() >= pauseIntervalMs) {
        QCoreApplication::processEvents();
        m_sincePause.start();
    }
    return !m_stop;
}

void frmClearUp::reject() {
    close();
}

void frmClearUp::closeEvent(QCloseEvent* event) {
    if (m_running) {
        m_stop = true;
        event->ignore();
        return;
    }
    event->accept();
}
