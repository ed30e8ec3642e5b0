tindra_add_fuzzer(hive runtime)
