#include "app/errorreport.h"

#include "app/errorwindow.h"
#include "app/settingsstore.h"

#include <QApplication>

namespace {

bool inCatalogue(ErrorCode code) {
    return code >= 0 && code <= 4;
}

} // namespace

ErrorLines ErrorTexts(ErrorCode code) {
    switch (code) {
    case 0:
        return {QStringLiteral("WAVEOUTデバイスがPEAK取得に対応していません"),
                QStringLiteral("LevelMeterとAnalize機能が使用できません")};
    case 1:
        return {QStringLiteral("DirectDrawの初期化に失敗しました"),
                QStringLiteral("DirectDrawの使用ができません")};
    case 2:
        return {QStringLiteral("非対応の画面モードです"),
                QStringLiteral("DirectDrawでこの画面サイズは使用できません")};
    case 3:
        return {QStringLiteral("ミキサの初期化に失敗しました"),
                QStringLiteral("LevelMeterの全機能が使用できません")};
    case 4:
        return {QStringLiteral("ムービーがWindowサイズ以上です"),
                QStringLiteral("Windowサイズに入る部分だけ表示します")};
    default:
        return {QStringLiteral("予期せぬエラーです(Err:%1)").arg(code),
                QStringLiteral("作者に連絡してください")};
    }
}

bool IsErrorSuppressed(uint32_t mask, ErrorCode code) {
    return inCatalogue(code) && (mask & (1u << code)) != 0;
}

void ReportError(ErrorCode code) {
    if (IsErrorSuppressed(PlayerSettings.ErrorFlag, code))
        return;
    TErrorWindow dialog(QApplication::activeWindow());
    const ErrorLines lines = ErrorTexts(code);
    dialog.Error1->setText(lines.first);
    dialog.Error2->setText(lines.second);
    dialog.exec();
    if (inCatalogue(code) && dialog.NoPrintError->isChecked()) {
        PlayerSettings.ErrorFlag |= 1u << code;
        SaveErrorFlag();
    }
}
