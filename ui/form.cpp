// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

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
              .lineMode = LineMode::MultiLine,
              .accessibleName = "文字画",
              .accessibleDescription = "转换得到的文字画，每行 50 格；可以选中并复制"},
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
              .alignment = Alignment::Centre,
              .accessibleName = "基本单元",
              .accessibleDescription = "每个有墨迹的像素写成的文字；留空时写“* ”"},
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
              .alignment = Alignment::Centre,
              .accessibleName = "输入文字",
              .accessibleDescription = "要画成文字画的文字，输入时右边的预览随之更新"},
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
              .backgroundColour = kWhite,
              .accessibleName = "预览",
              .accessibleDescription = "输入文字的小预览；转换时扫描其中 50 × 15 个像素"},
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
              .alignment = Alignment::Centre,
              .accessibleName = "开始转换",
              .accessibleDescription = "把预览转换成文字画，写入下方的输出框"},
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
