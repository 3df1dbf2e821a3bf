#include "ScriptedPrompts.h"
#include "app/ErrorHandler.h"
#include "app/GlobalData.h"
#include "app/MessageFlags.h"

#include <QTest>

class TstGlobalData : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SetAppVersion("2.3.41"); }

    void formatMsg() {
        QCOMPARE(FormatMsg("File '%s' not found!", QString("/a b/c.qtf")),
                 QString("File '/a b/c.qtf' not found!"));
        QCOMPARE(FormatMsg("%s of %s, %s", 1, 2), QString("1 of 2, %s"));
        // An argument that itself holds "%s" is not substituted again.
        QCOMPARE(FormatMsg("%s-%s", QString("%s"), QString("x")), QString("%s-x"));
    }

    void messageCaptionDefaultsToTitle() {
        ScriptedPrompts prompts;
        ShowMessage("one");
        ShowMessage("two", 16, "Other");
        QCOMPARE(prompts.prompts().at(0).title, AppTitle());
        QCOMPARE(prompts.prompts().at(1).title, QString("Other"));
    }

    void reportText() {
        const QString crlf = "\r\n";
        const QString tail = crlf + crlf + "VELKOR Timeplaner 2.3.41";
        QCOMPARE(exceptionReport("Sub:clsItems:UpdateItem", AppError("Bad thing", 5, "Qunta", 120)),
                 "Exception handler:5 120  (Sub:clsItems:UpdateItem)" + crlf + crlf + crlf +
                     "Description:Bad thing" + crlf + "Source:Qunta" + tail);
        QCOMPARE(exceptionReport("Function:Main:DoSave", AppError(QString(), -2147024809)),
                 "Exception handler:80070057  (Function:Main:DoSave)" + crlf + crlf + tail);
    }

    void guardAnswers() {
        ScriptedPrompts prompts;
        int attempts = 0;
        prompts.answerMessage(MessageResult::Retry);
        prompts.answerMessage(MessageResult::Ignore);
        const bool goOn = guardedStep("Sub:Test:Step", [&] {
            ++attempts;
            throw AppError("fails");
        });
        QVERIFY(goOn);
        QCOMPARE(attempts, 2);
        QCOMPARE(prompts.prompts().at(0).flags, 18);

        prompts.answerMessage(MessageResult::Abort);
        QVERIFY(!guardedStep("Sub:Test:Step", [] { throw std::runtime_error("std"); }));
        QVERIFY(prompts.prompts().last().text.contains("Description:std"));

        QCOMPARE(HandleException("Sub:Test:OkOnly", true, AppError("x")), int(HandlerAnswer::Ignore));
        QCOMPARE(prompts.prompts().last().flags, 16);
    }
};

QTEST_GUILESS_MAIN(TstGlobalData)
#include "tst_globaldata.moc"
