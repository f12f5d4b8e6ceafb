#include "platform/cp932.h"
#include "widgets/program_editor.h"

#include <gtest/gtest.h>

namespace kavrin::cp932 {
namespace {

TEST(ProgramEditor, EditorKeepsEveryDecodedCharacter) {
  QByteArray in;
  for (int code = 0x0E00; code <= 0xFFFF; code += 5) { // every lead and every trail, raw or not
    if ((code & 0xFF) != '\r' && (code & 0xFF) != '\n') {
      in.append(char(code >> 8)).append(char(code & 0xFF));
    }
  }
  ProgramEditor editor;
  editor.setText(decode(in));
  EXPECT_EQ(encode(editor.rawText()).bytes, in);
  EXPECT_TRUE(editor.marksPlaceholders());
}

} // namespace
} // namespace kavrin::cp932
