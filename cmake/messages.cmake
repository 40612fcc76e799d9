# The message catalogue is kept as UTF-8 text, one file per language, and
# turned at build time into byte tables: the texts in UTF-8, and the bytes of
# each of their characters in the language's own legacy encoding, from which
# the launcher puts a legacy text together without a converter of the
# system. The generator checks every table and stops the build on a bad one.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(LX_MESSAGES_DIR ${CMAKE_SOURCE_DIR}/src/messages)
set(LX_CATALOGUE_GENERATOR ${LX_MESSAGES_DIR}/generate_catalogue.py)
file(GLOB LX_TRANSLATIONS CONFIGURE_DEPENDS ${LX_MESSAGES_DIR}/translations/*.txt)
set(LX_CATALOGUE_SOURCE ${CMAKE_BINARY_DIR}/generated/messages/CatalogueTables.cpp)

add_custom_command(
  OUTPUT ${LX_CATALOGUE_SOURCE}
  COMMAND ${Python3_EXECUTABLE} ${LX_CATALOGUE_GENERATOR} ${LX_MESSAGES_DIR}/translations ${LX_CATALOGUE_SOURCE}
  DEPENDS ${LX_CATALOGUE_GENERATOR} ${LX_TRANSLATIONS}
  COMMENT "Generating the message catalogue"
  VERBATIM)
target_sources(lxcore PRIVATE ${LX_CATALOGUE_SOURCE})

# The generator's test does not depend on how the code is compiled: the
# sanitizer build leaves it to the release build.
if(LX_TESTS AND NOT LX_SANITIZE)
  add_test(NAME messages.CatalogueGenerator
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/messages/CatalogueGeneratorTest.py
                   ${LX_CATALOGUE_GENERATOR} ${LX_MESSAGES_DIR}/translations)
  set_tests_properties(messages.CatalogueGenerator PROPERTIES LABELS unit)
endif()
