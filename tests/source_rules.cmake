# Rules on the sources, checked by reading them.
add_test(NAME SourceRules.ElementaryFunctionsRoundedOnceFromDouble
         COMMAND "${CMAKE_CURRENT_SOURCE_DIR}/check_sources.sh" "${CMAKE_SOURCE_DIR}"
                 elementary-functions)
add_test(NAME SourceRules.SubsystemsIncludeOnlyTheLayersBelowThem
         COMMAND "${CMAKE_CURRENT_SOURCE_DIR}/check_sources.sh" "${CMAKE_SOURCE_DIR}"
                 include-layering)
add_test(NAME SourceRules.NoValueChangesItsUnitInPlace
         COMMAND "${CMAKE_CURRENT_SOURCE_DIR}/check_sources.sh" "${CMAKE_SOURCE_DIR}"
                 units-in-place)
add_test(NAME SourceRules.ComputationsHoldNoTurkishText
         COMMAND "${CMAKE_CURRENT_SOURCE_DIR}/check_sources.sh" "${CMAKE_SOURCE_DIR}"
                 no-turkish-text)
