# Trees made on the host, once per build tree: Unix links that Wine shows as
# folder reparse points, and a folder of fifty thousand files that would take
# Wine far longer to create and delete on every run.
set(hostile_data ${PROJECT_BINARY_DIR}/testdata/hostile)

# Two folders linking to each other, a link to its own folder, a dangling
# link and a link to a plug-in file.
set(links ${hostile_data}/links)
file(MAKE_DIRECTORY ${links}/A ${links}/B)
file(TOUCH ${links}/A/a.8bi ${links}/B/b.8bi)
foreach(link "A/to B=../B" "B/to A=../A" "self=." "dangling=nowhere" "file link.8bi=A/a.8bi")
  string(REPLACE "=" ";" link "${link}")
  list(GET link 0 name)
  list(GET link 1 target)
  file(REMOVE "${links}/${name}")
  file(CREATE_LINK "${target}" "${links}/${name}" SYMBOLIC)
endforeach()

# One raw-camera plug-in (empty), a hundred other plug-in names and enough
# other files to make fifty thousand.
set(many ${hostile_data}/many)
if(NOT EXISTS ${many}/.complete)
  file(MAKE_DIRECTORY ${many})
  file(TOUCH "${many}/Camera Raw.8bi")
  set(names "")
  foreach(i RANGE 1 49999)
    if(i LESS_EQUAL 100)
      list(APPEND names "${many}/filter-${i}.8bf")
    else()
      list(APPEND names "${many}/file-${i}.dat")
    endif()
    if(i MATCHES "000$" OR i EQUAL 49999)
      file(TOUCH ${names})
      set(names "")
    endif()
  endforeach()
  file(TOUCH ${many}/.complete)
endif()
