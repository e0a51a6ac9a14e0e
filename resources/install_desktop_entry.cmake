# Run by `cmake --install`: writes vornik.desktop into the program folder
# with that folder's own paths, so the entry starts this copy of the program
# wherever the folder was installed. Expects VORNIK_DESKTOP_TEMPLATE.

set(folder "${CMAKE_INSTALL_PREFIX}")

# Exec: the path in double quotes, with " ` $ and \ escaped by a backslash
# and % doubled (field codes); the file format then doubles each backslash.
set(exec_path "${folder}/vornik")
string(REPLACE "\\" "\\\\" exec_path "${exec_path}")
string(REPLACE "\"" "\\\"" exec_path "${exec_path}")
string(REPLACE "`" "\\`" exec_path "${exec_path}")
string(REPLACE "$" "\\$" exec_path "${exec_path}")
string(REPLACE "%" "%%" exec_path "${exec_path}")
string(REPLACE "\\" "\\\\" exec_path "${exec_path}")
set(icon_path "${folder}/vornik.png")
string(REPLACE "\\" "\\\\" icon_path "${icon_path}")

file(STRINGS "${VORNIK_DESKTOP_TEMPLATE}" lines ENCODING UTF-8)
set(entry "")
foreach(line IN LISTS lines)
  if(line MATCHES "^Exec=")
    set(line "Exec=\"${exec_path}\"")
  elseif(line MATCHES "^Icon=")
    set(line "Icon=${icon_path}")
  endif()
  string(APPEND entry "${line}\n")
endforeach()

set(target "$ENV{DESTDIR}${folder}/vornik.desktop")
message(STATUS "Installing: ${target}")
file(WRITE "${target}" "${entry}")
# Listed in install_manifest.txt like every file installed the usual way.
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${folder}/vornik.desktop")
# Desktops start an entry found outside their menus only when it may run.
file(CHMOD "${target}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
     WORLD_READ WORLD_EXECUTE)
