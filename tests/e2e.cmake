# The driver, end-to-end and reliability tests run the program itself.
foreach(t test_driver test_e2e test_reliability)
  if(TARGET ${t})
    add_dependencies(${t} ostrevik)
  endif()
endforeach()
