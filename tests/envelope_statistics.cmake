# The envelope statistics of every sample file's strength CSV, recomputed from the file's own
# points by an independent script.
find_package(Python3 COMPONENTS Interpreter REQUIRED)
add_test(NAME Strength.EnvelopeStatisticsRecomputedFromTheCsvPoints
         COMMAND Python3::Interpreter
                 "${CMAKE_CURRENT_SOURCE_DIR}/strength/envelope_statistics_check.py"
                 "$<TARGET_FILE:ostrevik>" "${OSTREVIK_SHARED_DIR}/data")
