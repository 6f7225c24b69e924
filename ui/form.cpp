#include "ui/form.h"

#include <stdexcept>
#include <string>

namespace kelmora::ui {

namespace {

constexpr std::string_view kSamplePicture = "* * * * * * * * * * * * * * * * * * * * * * * * * * * "
                                            "* * * * * * * * * * * * * * * * * * * * * * * \r\n"
                                            "*                                                     "
                                            "                                            * \r\n"
                                            "*                                                     "
                                            "                                            * \r\n"
                                            "*                                                     "
                                            "                                            * \r\n"
                                            "*       *       *                 * *                 "
                                            "                                            * \r\n"
                                            "*       *     *                     *                 "
                                            "                                            * \r\n"
                                            "*       *   *         * * *         *       * *   *   "
                                            "    * * *     *   * *       * * *           * \r\n"
                                            "*       * *         *       *       *       *   *   * "
                                            "  *       *   * *     *           *         * \r\n"
                                            "*       *   *       * * * * *       *       *   *   * "
                                            "  *       *   *             * * * *         * \r\n"
                                            "*       *     *     *               *       *   *   * "
                                            "  *       *   *           *       *         * \r\n"
                                            "*       *       *     * * *       * * *     *   *   * "
                                            "    * * *     *             * * * *         * \r\n"
                                            "*                                                     "
                                            "                                            * \r\n"
                                            "*                                                     "
                                            "                                            * \r\n"
                                            "*                                                     "
                                            "                                            * \r\n"
                                            "*                                                     "
                                            "                                            * \r\n"
                                            "*                               * * * * * *           "
                                            "  * * * * * *                               * \r\n"
                                            "*                             * * * * * * * *         "
                                            "* * * * * * * *                             * \r\n"
                                            "*                           * * * * * * * * * *     * "
                                            "* * * * * * * * *                           * \r\n"
                                            "*                           * * * * * * * * * * * * * "
                                            "* * * * * * * * *                           * \r\n"
                                            "*                           * * * * * * * * * * * * * "
                                            "* * * * * * * * *                           * \r\n"
                                            "*                             * * * * * * * * * * * * "
                                            "* * * * * * * *                             * \r\n"
                                            "*                               * * * * * * * * * * * "
                                            "* * * * * * *                               * \r\n"
                                            "*                                   * * * * * * * * * "
                                            "* * * * *                                   * \r\n"
                                            "*                                       * * * * * * * "
                                            "* * *                                       * \r\n"
                                            "*                                           * * * * * "
                                            "*                                           * \r\n"
                                            "*                                             * * * * "
                                            "                                            * \r\n"
                                            "*                                               * *   "
                                            "                                            * \r\n"
                                            "*                                                     "
                                            "                                            * \r\n"
                                            "*                                                     "
                                            "                                            * \r\n"
                                            "*                                                     "
                                            "                                            * \r\n"
                                            "*                                                     "
                                            "                                            * \r\n"
                                            "* * * * * * * * * * * * * * * * * * * * * * * * * * * "
                                            "* * * * * * * * * * * * * * * * * * * * * * * \r\n";

constexpr std::array kForm{
    FormEntry{.kind = ControlKind::MainWindow,
              .formName = "",
              .width = 640,
              .height = 480,
              .border = Border::SizingFrame,
              .backgroundColour = kNoColour,
              .text = "Kelmora 1.0",
              .minimiseButton = true,
              .maximiseButton = true,
              .escapeCloses = true},
    FormEntry{.kind = ControlKind::EditBox,
              .formName = kOutputBoxName,
              .left = 0,
              .top = 80,
              .width = 640,
              .height = 368,
              .tabStop = true,
              .textColour = kBlack,
              .backgroundColour = kWhite,
              .text = kSamplePicture,
              .alignment = Alignment::Left,
              .lineMode = LineMode::MultiLine},
    FormEntry{.kind = ControlKind::EditBox,
              .formName = kUnitBoxName,
              .left = 400,
              .top = 16,
              .width = 120,
              .height = 50,
              .tabStop = true,
              .textColour = kHintColour,
              .backgroundColour = kWhite,
              .text = "输入基本单元",
              .alignment = Alignment::Centre},
    FormEntry{.kind = ControlKind::EditBox,
              .formName = kInputBoxName,
              .left = 8,
              .top = 16,
              .width = 240,
              .height = 50,
              .tabStop = true,
              .textColour = kBlack,
              .backgroundColour = kWhite,
              .text = "",
              .alignment = Alignment::Centre},
    FormEntry{.kind = ControlKind::DrawPanel,
              .formName = kCanvasName,
              .left = 536,
              .top = 16,
              .width = 88,
              .height = 50,
              .tabStop = false,
              .pointer = MousePointer::Arrow,
              .border = Border::RaisedFrameSunkenEdge,
              .textColour = kBlack,
              .backgroundColour = kWhite},
    FormEntry{.kind = ControlKind::Button,
              .formName = kConvertButtonName,
              .left = 272,
              .top = 16,
              .width = 104,
              .height = 50,
              .tabStop = true,
              .pointer = MousePointer::PointingHand,
              .border = Border::PushButton,
              .text = "开始转换",
              .alignment = Alignment::Centre},
};

constexpr std::array kFocusOrder{kInputBoxName, kConvertButtonName, kUnitBoxName, kOutputBoxName};

} // namespace

std::span<const FormEntry> form() {
    return kForm;
}

const FormEntry& mainWindowEntry() {
    return kForm.front();
}

const FormEntry& formEntry(std::string_view formName) {
    for (const FormEntry& entry : kForm) {
        if (entry.formName == formName) {
            return entry;
        }
    }
    throw std::out_of_range("the form has no control named " + std::string(formName));
}

std::span<const std::string_view> focusOrder() {
    return kFocusOrder;
}

std::string_view samplePicture() {
    return kSamplePicture;
}

} // namespace kelmora::ui
