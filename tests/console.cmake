# The console tests run the program on a pseudo-terminal (forkpty).
if(TARGET test_driver)
  target_link_libraries(test_driver PRIVATE util)
endif()
