// A product that is not freeware: the licence takes the product's paid clauses.

#include "tests/wizard/WizardTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(PaidLicence, EnglishKeeps22LinesWithThePaidClausesInLines13And15) {
    const LanguageScope language(kLanguageEnglish);
    const auto form = CreateWizard();
    EXPECT_FALSE(form->Freeware());
    EXPECT_EQ(form->ProductName(), u"Corvane TestPad Pro");
    TMemoLines lines = form->Memo2.Lines();
    ASSERT_EQ(lines.Count(), 22);
    EXPECT_EQ(lines[12], u"You may use one licensed copy of this software on one computer.");
    EXPECT_EQ(lines[14], u"The licence may not be rented, leased or lent to others.");
    EXPECT_EQ(lines[10], u"2. License");
    EXPECT_EQ(lines[16], u"3. Restrictions on Use");
    EXPECT_EQ(lines[6].substr(0, 48), u"Corvane TestPad Pro (this software) is provided ");
}

TEST(PaidLicence, ChineseGrowsTo18LinesWithClauses5And6) {
    const LanguageScope language(kLanguageChinese);
    const auto form = CreateWizard();
    TMemoLines lines = form->Memo2.Lines();
    ASSERT_EQ(lines.Count(), 18);
    EXPECT_EQ(lines[0], u"测试记事本专业版 用户许可协议");
    EXPECT_EQ(lines[8], u"3. 您可以自由复制或传播本软件。但未经本软件作者允许，不得将本软件产品以任何形式用于任何商业目的。");
    EXPECT_EQ(lines[12], u"5. 每份许可只允许在一台计算机上使用本软件。");
    EXPECT_EQ(lines[13], u"");
    EXPECT_EQ(lines[14], u"6. 若您未能遵守本《协议》之条款，则本软件作者在不妨碍其他权力之情况下，有权采取包括追究法律责任在内的"
                         u"相应措施并终止本《用户许可协议》。");
    EXPECT_EQ(lines[15], u"");
    EXPECT_EQ(lines[16], u"");
    EXPECT_EQ(lines[17], u"");
}

}  // namespace
