# Writes OUTPUT, a C++ source holding the editor page's files (FILES, in SOURCE_DIR) as raw string
# literals, for graphel editor to serve. index.html is also served at "/".
string(REPLACE "," ";" FILES "${FILES}")
set(entries "")
foreach(name IN LISTS FILES)
  file(READ "${SOURCE_DIR}/${name}" content)
  if(name MATCHES "\\.html$")
    set(type "text/html; charset=utf-8")
  elseif(name MATCHES "\\.js$")
    set(type "text/javascript; charset=utf-8")
  elseif(name MATCHES "\\.css$")
    set(type "text/css; charset=utf-8")
  else()
    set(type "application/octet-stream")
  endif()
  string(APPEND entries "    {\"/${name}\", R\"graphel_page(${content})graphel_page\", \"${type}\"},\n")
  if(name STREQUAL "index.html")
    string(APPEND entries "    {\"/\", R\"graphel_page(${content})graphel_page\", \"${type}\"},\n")
  endif()
endforeach()
file(WRITE "${OUTPUT}.tmp" "// Made by embed_page.cmake from the files in editor_page/; edit those instead.\n"
  "#include \"editor_page.h\"\n\nnamespace graphel_cli {\n\nnamespace {\n"
  "const EditorPageFile kFiles[] = {\n${entries}};\n}  // namespace\n\n"
  "std::span<const EditorPageFile> EditorPageFiles() { return kFiles; }\n\n}  // namespace graphel_cli\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
