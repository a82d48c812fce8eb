#include <string>

#include "WinTestSupport.h"
#include "platform/Text_win.h"

namespace {

// Double-byte text must come back whole from every kind of box, the rich edit included.
TEST_F(MainWindowTest, ControlsGiveBackTheirWholeTextDoubleByteCharactersIncluded) {
  const std::string texts[] = {"先前的文本", "ab先前的文本cd", "", std::string(3000, 'x') + "图片"};
  for (ControlId id : {ControlId::编码文本, ControlId::地址}) {
    for (const std::string& text : texts) {
      SetControlText(control(id), text);
      EXPECT_EQ(GetControlText(control(id)), text) << static_cast<int>(id);
    }
  }
}

}  // namespace
