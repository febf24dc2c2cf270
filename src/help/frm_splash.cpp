#include "help/frm_splash.h"

#include "store/file_store.h"

namespace ww {

namespace {

// What the marker holds does not matter; only its existence counts.
constexpr const char* kMarkerLine = "Wortwerk wurde in diesem Ordner schon gestartet.\r\n";

constexpr wchar_t kText[] =
    L"Sie starten Wortwerk zum ersten Mal. Lesen Sie sich bitte diese \r\n"
    L"paar Zeilen durch. \r\n"
    L"Nach dem Start sehen Sie ganz rechts unten auf  der Taskleiste \r\n"
    L"eine Hand. Wenn Sie mit der rechten Maustaste darauf klicken \r\n"
    L"öffnet sich  ein Menü. Sie müssen nun als erstes Tasten mit \r\n"
    L"Ihrem persönlichen Text belegen. Danach können Sie das \r\n"
    L"Programm folgendermaßen nutzen. \"0\" auf dem Zahlenblock \r\n"
    L"drücken, loslassen, und eine Taste drücken auf die Sie einen \r\n"
    L"Text gelegt haben. \r\n"
    L"Zur Textbelegung aber nicht die Tasten  auf dem Zahlenblock \r\n"
    L"(ganz rechts) benutzen, sondern die unter den F - Tasten. Weitere Informationen finden Sie unter Hilfe.\r\n";

} // namespace

const std::wstring_view kSplashText{kText, sizeof kText / sizeof kText[0] - 1};

bool SplashTyping::tick() {
    if (count_ < full_.size()) ++count_;
    return !complete();
}

bool FirstStart::check(FileStore& files) {
    if (noticeShown_ || files.exists(kFirstStartMarker)) return false;
    // A marker that cannot be written only means the notice comes again at a later start; this one goes on.
    std::wstring ignored;
    (void)createNew(files, kFirstStartMarker, kMarkerLine, &ignored);
    noticeShown_ = true;
    return true;
}

} // namespace ww
