#include "editing/auto_number.h"

#include "support/text_buffer.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>

namespace kavrin {
namespace {

using testing::TextBuffer;

// '|' is the caret; a second '|' ends a selection.
TEST(AutoNumber, ReturnStartsTheNextNumber) {
  const std::tuple<QString, int, QString> cases[] = {
      {"10 PRINT|", 10, "10 PRINT\n20 |"},
      {"5 REM\n10 PRINT|\n30 END", 10, "5 REM\n10 PRINT\n20 |\n30 END"},
      {"0010 CLS|", 10, "0010 CLS\n20 |"},
      {"1|0 PRINT", 10, "1\n11 |0 PRINT"},
      {"123456 A|", 10, "123456 A\n12355 |"},
      {" 10 PRINT|", 10, " 10 PRINT\n|"},
      {"10 A\n|", 10, "10 A\n\n|"},
      {"|10 PRINT", 10, "\n|10 PRINT"},
      {"10|", -20, "10\n-10 |"},
      {"99999|", INT_MAX, "99999\n2147583646 |"},
      {"10 PR|INT\n20 G|OTO", 10, "10 PR\n20 |OTO"},
  };
  for (const auto &[before, increment, after] : cases) {
    SCOPED_TRACE(before.toStdString());
    QString text = before;
    const auto caret = static_cast<int>(text.indexOf(u'|'));
    const auto end = static_cast<int>(text.remove(caret, 1).indexOf(u'|'));
    TextBuffer edit(text.remove(u'|'));
    edit.select(caret, std::max(end - caret, 0));
    autoNumberReturn(edit, increment);
    EXPECT_EQ(QString(edit.text()).insert(edit.selStart(), u'|'), after);
  }
}

} // namespace
} // namespace kavrin
