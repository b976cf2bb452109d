# The desktop application's translations: every text it shows through Tr()
# has one in each language, and the check that says so finds a text without
# one (a source that only this test reads).
find_package(Qt6 REQUIRED COMPONENTS LinguistTools)
add_test(NAME penmac_translations
         COMMAND ${PROJECT_SOURCE_DIR}/scripts/update-translations.sh --check --lupdate=$<TARGET_FILE:Qt6::lupdate>)
add_test(NAME penmac_translations_check_finds_missing
         COMMAND ${PROJECT_SOURCE_DIR}/scripts/update-translations.sh --check --lupdate=$<TARGET_FILE:Qt6::lupdate>
                 --also=${PROJECT_SOURCE_DIR}/tests/data/penmac-untranslated)
set_tests_properties(penmac_translations penmac_translations_check_finds_missing PROPERTIES LABELS native TIMEOUT 120)
# Named for each language that lacks it, and only that text.
set_tests_properties(penmac_translations_check_finds_missing PROPERTIES
  PASS_REGULAR_EXPRESSION "zh_TW: no translation of \"A text nobody has translated yet\""
  FAIL_REGULAR_EXPRESSION "no translation of \"(Exit Driver|Tablet Driver will)|every text shown through Tr\\(\\) has a translation")
