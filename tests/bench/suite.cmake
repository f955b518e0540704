# The benchmark at a smoke size: it must still build, lay out its machine and
# find every row it expects. Its figures come from scripts/bench.sh.
add_test(NAME bench_smoke COMMAND varnock-bench --smoke)
set_tests_properties(bench_smoke PROPERTIES TIMEOUT 180 ENVIRONMENT "${VARNOCK_TEST_ENVIRONMENT}")
