tindra_add_fuzzer(path runtime)
