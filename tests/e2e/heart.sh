#!/usr/bin/env bash
# The heart program on an X display, as a class uses it: a tutorial injection, then the
# examination under the keyboard lock (every password typed on the keyboard), the three
# examinations and the supervisor's results. Usage: heart.sh <heart program>
source "$(dirname "$0")/lib.sh"
start_program "$1"

# A message box (no name of its own) is up: the default button takes it away.
answer_message() {
  wait_for $'^window\t\t[^\t]*\tactive\t' 20
  key Return
}

# The unknown chosen in the answer list with the keyboard.
identify() {
  wait_window Frm_Question
  click Lst_Drugs
  local keys=(Home)
  for ((i = 0; i < $1; i++)); do keys+=(Down); done
  key "${keys[@]}"
  click Cmd_done
}

# Each time the home screen opens, its title panel covers it until clicked away.
home_screen() {
  wait_window Frm_Heart_Main
  click Frm_logo
  wait_gone $'^Frm_logo\t'
}

step "home screen"
home_screen

step "tutorial: adrenaline once the heart is steady"
click Cmd_Tutorial
wait_window Frm_Heart
click Cmd_Inject 20  # enabled after the stabilisation
click Combo_Drug
key Home Return
expect_shown Combo_Drug "Адреналин"
click Cmd_Inject
wait_for $'^lbl_lastdrug\t.*\tАдреналин$' 20
expect_shown Lab_drugname "Адреналин"
click Cmd_return
home_screen

step "examination password typed under the lock, then leaving with the return password"
click Cmd_Exam
type_text "abcd"
key Return
name_student
wait_window Frm_Heart
expect_shown lbl_unkdrug "Неизвестное No. 1"
click Cmd_return
type_text "abcd"
key Return
home_screen

step "examination 1: eight unknowns, the first injected"
click Cmd_Exam
type_text "abcd"
key Return
name_student
for n in 1 2 3 4 5 6 7 8; do
  wait_window Frm_Heart
  expect_shown lbl_unkdrug "Неизвестное No. $n"
  if [ "$n" = 1 ]; then
    click Cmd_Inject 20
    wait_for $'^Lab_drugname\t.*\tНеизвестное 1$' 10
  fi
  click Cmd_Next
  identify $((n - 1))
done
answer_message  # examination 1 is over

step "examination 2: the unknown among the known drugs"
wait_window Frm_Heart
click Combo_Drug
key End Return
expect_shown Combo_Drug "Неизвестное"
click Cmd_Inject 20
wait_for $'^Lab_drugname\t.*\tНеизвестное' 10
click Cmd_Next
answer_message  # sure? OK
identify 3
answer_message  # examination 2 is over

step "examination 3: the unknown against adrenaline and acetylcholine"
wait_window Frm_Heart
click Combo_Drug
key End Return
click Cmd_Inject 20
click Cmd_Next
wait_window Frm_Question
click Opt_dr1
click Cmd_exam4

step "the supervisor's password typed, three pages of results"
type_text "abcd"
key Return
close_results
# With no window manager nothing takes the keyboard back: the table is reached by name.
wait_for $'^window\tFrm_Heart_Table\t'
expect_shown examno "Экзамен 1" Frm_Heart_Table
expect_shown MsGrid_Table "Адреналин" Frm_Heart_Table
click_in Frm_Heart_Table Cmd_Ret
wait_for $'^examno\t.*\tЭкзамен 2$'
expect_shown Txt_drug_Identified "Атропин" Frm_Heart_Table
click_in Frm_Heart_Table Cmd_Ret
wait_for $'^examno\t.*\tЭкзамен 3$'
expect_shown Txt_drug_Identified "Ацетилхолин" Frm_Heart_Table
click_in Frm_Heart_Table Cmd_Ret
home_screen

step "the program ends from its home screen"
click Cmd_Exit
expect_exit 0
echo "heart: passed in $SECONDS s"
