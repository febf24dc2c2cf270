#include "help/form5.h"

#include "ui/control_ids.h"

#include <algorithm>

namespace ww {

namespace {

constexpr FontSpec kButtonFont{L"MS Sans Serif", 825, true};

const std::array<Form5Button, 6> kButtons{{
    {L"Form5.Command1", L"Was kann ich mit diesem Programm anfangen?", {120, 120, 2295, 495}, kButtonFont, 0},
    {L"Form5.Command6", L"Wie arbeite ich mit Wortwerk?", {120, 720, 2295, 495}, kButtonFont, 1},
    {L"Form5.Command2", L"Wie funktioniert das mit der Tastenbelegung?", {120, 1320, 2295, 495}, kButtonFont, 2},
    {L"Form5.Command8", L"Shortcuts auf den Zahlenblock legen", {120, 2040, 2295, 615}, kButtonFont, 3},
    {L"Form5.Command7",
     L"Warum gibt es noch die Funktion mit der Zwischenablage",
     {120, 2760, 2295, 735},
     kButtonFont,
     4},
    {L"Form5.Command5",
     L"Jetzt ist mir alles klar.",
     {120, 5160, 2295, 735},
     {L"MS Sans Serif", 1350, true},
     kCloseHelp},
}};

// Topics A to E. Runs of blanks are part of the texts: in the wrapped label they push the following words onto
// the next line.
const std::array<HelpTopicText, kHelpTopicCount> kTopics{{
    {L"Wortwerk (ich weiß das ist ein blöder Name, aber mir ist nichts besseres eingefallen) wird "
     L"Ihnen helfen im Internet oder auch in anderen Anwendungen Formulare schnell "
     L"auszufüllen.                                                 Sie können Tasten mit fertigen "
     L"Texten belegen. Z. B. ihren Namen, Wohnort, oder E-Mail Adresse. Sie können aber auch größere "
     L"Texte eingeben. Sie müssen nur die Taste \"0\" auf dem Zahlenblock (ganz rechts auf Ihrer "
     L"Tastatur) drücken und wieder loslassen. Dann die Taste drücken die mit ihrem gewünschten Text "
     L"belegt ist, und schon wird dieser eingefügt.",
     {3000, 120, 3495, 4095}},
    {L"Nach dem Start sehen Sie rechts unten in der Taskleiste eine Hand. Wenn Sie mit der rechten "
     L"Maustaste darauf klicken öffnet sich ein Menü. Hier können Sie sämtliche Einstellungen machen "
     L"die Sie benötigen. Das wichtigste ist zunächst die Tastenbelegung. Wenn Sie das erledigt haben "
     L"können Sie sofort loslegen.  Wollen Sie nun in einem Formular oder in einer Anwendung den Text "
     L"den sie der Taste 1 zugewiesen haben einfügen, dann drücken Sie die Taste \"0\" auf dem "
     L"Zahlenblock, nun sehen im Eingabefeld ein \"OK\". Dann drücken Sie die Taste 1 und Ihr Text "
     L"wird eingefügt. Sie müssen aber beide Eingaben getrennt machen, also nicht \"0\" + \"1\" "
     L"zusammen drücken. Die Tasten 1 -10 sind die unter den F-Tasten, also nicht die auf dem "
     L"Zahlenblock.                                            Ihre Tastenbelegung können Sie sich "
     L"ausdrucken oder permanent anzeigen lassen, was ich aber als störend empfinde.   ",
     {2640, 120, 3855, 5655}},
    {L"Klicken Sie einfach auf die Taste die Sie belegen wollen und tragen unten in das Textfeld den "
     L"Text ein. Sie können diesen auch über die Zwischenablage einfügen.  Wenn Sie nun Ihre "
     L"gewünschten Tasten belegt haben, speichern sie das ganze noch "
     L"ab.                                                                                    Wenn Sie "
     L"ein RETURN simulieren wollen, geben Sie ### ein. Hier ein kleines Beispiel "
     L"dazu:                                                                            "
     L"Name###Straße###Wohnort###Tel.  würde so dargellt "
     L"werden.                                                   "
     L"Name                                                                             "
     L"Straße                                                                            "
     L"Wohnort                                                                        "
     L"Tel.                                                                 Hinweis: Die Tasten   0 -  "
     L"9 sind nicht die                            Tasten auf dem "
     L"Zahlenblock                                der ganz rechts auf Ihrer "
     L"Tastatur                         zu finden ist, sondern die Zahlen                          "
     L"unter den Funktionstasten!!!!              Der Zahlenblock kann mit Shortcuts belegt werden "
     L"dafür wählen Sie im Menü Tastenbelegung Z1 -Z9 aus.",
     {2640, 120, 3975, 5895}},
    {L"Sie können  noch zusätzlich sogenannte Shortcuts auf dem Zahlenblock festlegen. Dazu klicken "
     L"Sie unter Tastenbelegung Z1 - Z9 an und tragen hier z.B. um das Drücken von STRING + F zu "
     L"simulieren strgf oder stringf oder auch string + f ein. Um eine Tastenkombination mit ALT zu "
     L"simulieren müssen Sie alt + \"gewünschten Buchstaben\" eingeben, das + können Sie auch "
     L"weglassen. Das gleich gilt auch für die Umschalttaste, hier geben Sie umschalt oder einfach um "
     L"+\"gewünschten Buchstaben\" ein. Die F-Tasten werden hierbei natürlich auch unterstützt. Wollen "
     L"Sie z.B. auf die Taste 2 auf dem Zahlenblock einen Shortcut festlegen der das Drücken von "
     L"STRING + F9 simuliert , dann klicken Sie auf Z2 und geben string + F9 ein, oder strgf9 genügt "
     L"auch. Probieren Sie das Ganze einfach mal aus. Was hierbei allerdings nicht funktioniert, ist "
     L"das Kopieren eines Textes z. B. über STRING + C, denn der markierte Text wird durch das "
     L"Betätigen einer Taste sofort gelöscht.",
     {2640, 240, 3975, 5895}},
    {L"Leider funktioniert Wortwerk nicht in allen Anwendungen. In Word gibt es keine Probleme, aber "
     L"in Excel versagt es. Warum weiß ich auch nicht. Damit dann Ihre Tastenbelegung nicht ganz "
     L"umsonst ist klicken Sie im Menü auf die Funktion \"Zwischenablage\". Jetzt erscheint ein "
     L"Fenster auf dem alle Ihre Einträge aufgelistet sind. Wenn Sie nun mit der linken Maustaste auf "
     L"einen Eintrag klicken dann brauchen Sie nur noch in der Anwendung die rechte Maustaste zu "
     L"betätigen und einfügen auszuwählen. Der gewählte Text wird dann eingefügt. Bevor Wortwerk "
     L"wieder aktiv werden kann  muß dieses Fenster geschlossen werden.",
     {2640, 120, 3735, 4095}},
}};

} // namespace

const std::array<Form5Button, 6>& form5Buttons() {
    return kButtons;
}

const std::array<HelpTopicText, kHelpTopicCount>& helpTopics() {
    return kTopics;
}

const Form5Button* form5ButtonById(int id) {
    for (const Form5Button& b : kButtons)
        if (b.id() == id) return &b;
    return nullptr;
}

std::array<TwipsRect, 6> form5ButtonBoxes(const std::array<int, 6>& minHeights) {
    constexpr int kGap = 105;
    std::array<TwipsRect, 6> boxes;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        TwipsRect box = kButtons[i].box;
        if (i > 0) box.top = std::max(box.top, boxes[i - 1].top + boxes[i - 1].height + kGap);
        box.height = std::max(box.height, minHeights[i]);
        boxes[i] = box;
    }
    return boxes;
}

void HelpTopicView::show(int topic) {
    visible_.fill(false);
    if (topic >= 0 && topic < kHelpTopicCount) visible_[static_cast<std::size_t>(topic)] = true;
}

bool HelpTopicView::visible(int topic) const {
    return topic >= 0 && topic < kHelpTopicCount && visible_[static_cast<std::size_t>(topic)];
}

} // namespace ww
