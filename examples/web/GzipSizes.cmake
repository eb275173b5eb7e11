# Prints the gzipped size of each of QV_FILES ("|" between them; cmake -P): what a page downloads from a server that
# compresses, which is what publishing applets costs a visitor.
string(REPLACE "|" ";" files "${QV_FILES}")
foreach(file IN LISTS files)
  get_filename_component(name ${file} NAME)
  set(packed ${QV_WORK}/${name}.gz)
  file(ARCHIVE_CREATE OUTPUT ${packed} PATHS ${file} FORMAT raw COMPRESSION GZip
       COMPRESSION_LEVEL 9)
  file(SIZE ${packed} gzipped)
  file(SIZE ${file} plain)
  message(STATUS "${name}: ${gzipped} bytes gzipped (${plain} bytes)")
endforeach()
