# The driver and end-to-end tests run the program itself.
foreach(t test_driver test_e2e)
  if(TARGET ${t})
    add_dependencies(${t} ostrevik)
  endif()
endforeach()
