#include "playlist/listerror.h"

#include "app/messages.h"

QString ListErrorText(int code) {
    switch (code) {
    case 0:
        return QStringLiteral("リストのオープンに失敗しました");
    case 1:
        return QStringLiteral("このファイルはリストファイルではありません");
    case 2:
        return QStringLiteral("このリストはバージョンが違います");
    case 3:
        return QStringLiteral("リストのセーブに失敗しました");
    case 4:
        return QStringLiteral("ムービーがWindowサイズ以上です\nWindowサイズ内だけ表示します");
    default:
        return QStringLiteral("予期せぬエラーです(Err:%1)\n作者に連絡して下さい").arg(code);
    }
}

void ShowListError(int code) {
    ShowStopMessage(QStringLiteral("Error"), ListErrorText(code));
}
