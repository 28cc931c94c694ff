#include "tests/screenshots/sample_data.h"

#include "shell/main_frm.h"
#include "tests/support/app_fixture.h"

namespace screenshots {

void fillSampleData(testing::AppFixture& fixture)
{
    fixture.addUser(QStringLiteral("0001"), QStringLiteral("王经理"), QStringLiteral("1234"),
                    testing::AppFixture::allRights());
    fixture.addUser(QStringLiteral("0002"), QStringLiteral("李销售"), QString(),
                    {QStringLiteral("销售出货"), QStringLiteral("销售退货")});
    fixture.exec(QStringLiteral("insert into tab_company_info(公司名,销售电话,传真,地址)values("
                                "'华联食品贸易有限公司','0571-88886666','0571-88886667',"
                                "'浙江省杭州市西湖区文三路 88 号')"));
}

void saveScreens(TFrm_Main* main, void (*save)(QWidget*, const QString&))
{
    Q_UNUSED(main);
    Q_UNUSED(save);
}

} // namespace screenshots
