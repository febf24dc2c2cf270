#!/usr/bin/env bash
# The help window opened from the tray menu's "Hilfe": it replaces the main window, shows one topic text at a time,
# character for character and readable to its end, and every way of closing it brings the main window and its one
# icon back. Runs at 144 dpi; the Win32-layer test sees the same window at 96 dpi.
E2E_DPI=${E2E_DPI-144} # E2E_DPI= runs it at 96 dpi
source "$WW_SRC/tests/e2e/lib.sh"
HELP="H I L F E"
CAPTIONS=("Was kann ich mit diesem Programm anfangen?" "Wie arbeite ich mit Wortwerk?"
          "Wie funktioniert das mit der Tastenbelegung?" "Shortcuts auf den Zahlenblock legen"
          "Warum gibt es noch die Funktion mit der Zwischenablage" "Jetzt ist mir alles klar.")
NAMES=(A B C D E)
# Topic texts A to E (labels 200 to 204), runs of blanks included.
TOPIC[0]='Wortwerk (ich weiß das ist ein blöder Name, aber mir ist nichts besseres eingefallen) wird Ihnen '
TOPIC[0]+='helfen im Internet oder auch in anderen Anwendungen Formulare schnell '
TOPIC[0]+='auszufüllen.                                                 Sie können Tasten mit fertigen Texten '
TOPIC[0]+='belegen. Z. B. ihren Namen, Wohnort, oder E-Mail Adresse. Sie können aber auch größere Texte '
TOPIC[0]+='eingeben. Sie müssen nur die Taste "0" auf dem Zahlenblock (ganz rechts auf Ihrer Tastatur) drücken '
TOPIC[0]+='und wieder loslassen. Dann die Taste drücken die mit ihrem gewünschten Text belegt ist, und schon '
TOPIC[0]+='wird dieser eingefügt.'
TOPIC[1]='Nach dem Start sehen Sie rechts unten in der Taskleiste eine Hand. Wenn Sie mit der rechten '
TOPIC[1]+='Maustaste darauf klicken öffnet sich ein Menü. Hier können Sie sämtliche Einstellungen machen die '
TOPIC[1]+='Sie benötigen. Das wichtigste ist zunächst die Tastenbelegung. Wenn Sie das erledigt haben können '
TOPIC[1]+='Sie sofort loslegen.  Wollen Sie nun in einem Formular oder in einer Anwendung den Text den sie der '
TOPIC[1]+='Taste 1 zugewiesen haben einfügen, dann drücken Sie die Taste "0" auf dem Zahlenblock, nun sehen im '
TOPIC[1]+='Eingabefeld ein "OK". Dann drücken Sie die Taste 1 und Ihr Text wird eingefügt. Sie müssen aber '
TOPIC[1]+='beide Eingaben getrennt machen, also nicht "0" + "1" zusammen drücken. Die Tasten 1 -10 sind die '
TOPIC[1]+='unter den F-Tasten, also nicht die auf dem Zahlenblock.                                            '
TOPIC[1]+='Ihre Tastenbelegung können Sie sich ausdrucken oder permanent anzeigen lassen, was ich aber als '
TOPIC[1]+='störend empfinde.   '
TOPIC[2]='Klicken Sie einfach auf die Taste die Sie belegen wollen und tragen unten in das Textfeld den Text '
TOPIC[2]+='ein. Sie können diesen auch über die Zwischenablage einfügen.  Wenn Sie nun Ihre gewünschten Tasten '
TOPIC[2]+='belegt haben, speichern sie das ganze noch '
TOPIC[2]+='ab.                                                                                    Wenn Sie ein '
TOPIC[2]+='RETURN simulieren wollen, geben Sie ### ein. Hier ein kleines Beispiel '
TOPIC[2]+='dazu:                                                                            '
TOPIC[2]+='Name###Straße###Wohnort###Tel.  würde so dargellt '
TOPIC[2]+='werden.                                                   '
TOPIC[2]+='Name                                                                             '
TOPIC[2]+='Straße                                                                            '
TOPIC[2]+='Wohnort                                                                        '
TOPIC[2]+='Tel.                                                                 Hinweis: Die Tasten   0 -  9 '
TOPIC[2]+='sind nicht die                            Tasten auf dem Zahlenblock                                '
TOPIC[2]+='der ganz rechts auf Ihrer Tastatur                         zu finden ist, sondern die '
TOPIC[2]+='Zahlen                          unter den Funktionstasten!!!!              Der Zahlenblock kann mit '
TOPIC[2]+='Shortcuts belegt werden dafür wählen Sie im Menü Tastenbelegung Z1 -Z9 aus.'
TOPIC[3]='Sie können  noch zusätzlich sogenannte Shortcuts auf dem Zahlenblock festlegen. Dazu klicken Sie '
TOPIC[3]+='unter Tastenbelegung Z1 - Z9 an und tragen hier z.B. um das Drücken von STRING + F zu simulieren '
TOPIC[3]+='strgf oder stringf oder auch string + f ein. Um eine Tastenkombination mit ALT zu simulieren müssen '
TOPIC[3]+='Sie alt + "gewünschten Buchstaben" eingeben, das + können Sie auch weglassen. Das gleich gilt auch '
TOPIC[3]+='für die Umschalttaste, hier geben Sie umschalt oder einfach um +"gewünschten Buchstaben" ein. Die '
TOPIC[3]+='F-Tasten werden hierbei natürlich auch unterstützt. Wollen Sie z.B. auf die Taste 2 auf dem '
TOPIC[3]+='Zahlenblock einen Shortcut festlegen der das Drücken von STRING + F9 simuliert , dann klicken Sie '
TOPIC[3]+='auf Z2 und geben string + F9 ein, oder strgf9 genügt auch. Probieren Sie das Ganze einfach mal aus. '
TOPIC[3]+='Was hierbei allerdings nicht funktioniert, ist das Kopieren eines Textes z. B. über STRING + C, '
TOPIC[3]+='denn der markierte Text wird durch das Betätigen einer Taste sofort gelöscht.'
TOPIC[4]='Leider funktioniert Wortwerk nicht in allen Anwendungen. In Word gibt es keine Probleme, aber in '
TOPIC[4]+='Excel versagt es. Warum weiß ich auch nicht. Damit dann Ihre Tastenbelegung nicht ganz umsonst ist '
TOPIC[4]+='klicken Sie im Menü auf die Funktion "Zwischenablage". Jetzt erscheint ein Fenster auf dem alle '
TOPIC[4]+='Ihre Einträge aufgelistet sind. Wenn Sie nun mit der linken Maustaste auf einen Eintrag klicken '
TOPIC[4]+='dann brauchen Sie nur noch in der Anwendung die rechte Maustaste zu betätigen und einfügen '
TOPIC[4]+='auszuwählen. Der gewählte Text wird dann eingefügt. Bevor Wortwerk wieder aktiv werden kann  muß '
TOPIC[4]+='dieses Fenster geschlossen werden.'

# Class and text of every visible control, one per line; the texts of the visible topics.
visible_controls() { drv children "$HELP" | awk -F'\t' '$3 == 1 { print $1 "\t" $4 }'; }
shown_topics() { drv children "$HELP" | awk -F'\t' '$1 == "Edit" && $3 == 1 { print $4 }'; }
open_help() {
    drv post "$TITLE" 0x111 107 >/dev/null # the menu command "Hilfe"
    check "$1: help opens" drv wait "$HELP" 10
    expect_main_unloaded "$1"
}

start_wortwerk "$E2E_WORK/data"
drv wait "$TITLE" 15
wait_for '[ "$(icons)" = 1 ]' 10

open_help "menu"
check "help window is topmost" topmost "$HELP"
check_eq "no task-bar button" "$(drv taskbar-buttons)" 0
check_eq "only the six buttons are visible" "$(visible_controls)" "$(printf 'Button\t%s\n' "${CAPTIONS[@]}")"

# B then D, D twice, and C last for the screenshot: each click leaves exactly its own text visible.
for topic in 0 1 3 3 4 2; do
    name=${NAMES[topic]}
    drv click "$HELP" "${CAPTIONS[topic]}"
    check "topic $name: only its text visible" wait_for '[ "$(shown_topics)" = "${TOPIC[topic]}" ]' 5
    check_eq "topic $name: text exact" "$(drv text "$HELP" id:Form5.Label1+$topic)" "${TOPIC[topic]}"
    read -r last height <<<"$(drv text-end "$HELP" id:Form5.Label1+$topic || echo 1 0)"
    check "topic $name: its last line shows ($last of $height pixels)" test "$last" -le "$height"
done
shot help_topic_c

drv click "$HELP" "Jetzt ist mir alles klar."
expect_main_back "$HELP" "close button"

open_help "again"
check_eq "reopened with no topic shown" "$(shown_topics)" ""
drv close "$HELP"
expect_main_back "$HELP" "close box"

open_help "third time"
check_eq "end-of-session query is answered yes" "$(drv send "$HELP" 0x11 0 0)" 1
drv send "$HELP" 0x16 1 0 >/dev/null || true
expect_main_back "$HELP" "end of session"
finish
