#include "WindowTestSupport.h"

#include <QtTest>

class Test : public QObject
{
    Q_OBJECT
private slots:
    void windowOpens()
    {
        WindowFixture fixture;
        auto form = fixture.window();
        QVERIFY(form->ListView1);
    }
};

QTEST_MAIN(Test)
#include "tst_input_commands.moc"
