#!/usr/bin/env bash
# Regenerates the gallery in docs/screens/: runs the end-to-end tests that between them come to every
# screen, the folder chooser, the message box, the error window, a destination in other scripts and a
# display of 144 DPI, and copies the pictures they saved under the names the README shows.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

screens=(step1_agreement step2_location step2_folder_chooser step3_verify step3_verify_wrapped
         step4_installed step5_finish step5_game_location error_window step4_installed_unicode
         dpi144_step1_agreement)

python3 e2e/run_e2e.py -k test_agree_next_install_next_quit_by_real_clicks \
    -k test_chooser_is_modal_and_greys_back_and_next -k test_destination_is_broken_once_after_70_characters \
    -k test_a_file_in_the_way_of_the_game_folder \
    -k test_destinations_with_accents_cyrillic_and_cjk_install_byte_identical \
    -k test_every_screen_window_control_and_font_scale_with_the_dpi

mkdir -p docs/screens
for name in "${screens[@]}"; do
    if [ ! -f "build/e2e/screens/$name.png" ]; then
        echo "screens: the run saved no picture of $name" >&2
        exit 1
    fi
    cp "build/e2e/screens/$name.png" "docs/screens/$name.png"
done
echo "screens: ${#screens[@]} pictures in docs/screens/"
