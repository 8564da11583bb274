# Sourced by the check scripts: each check prints one line, pass or FAIL with its details, and the
# counts decide the script's status at the end (verdict_summary).
passed=0
failed=0

verdict() {  # name, outcome of the check (0 = pass), details on failure
  if [ "$2" -eq 0 ]; then
    echo "pass  $1"
    passed=$((passed + 1))
  else
    echo "FAIL  $1"
    printf '%s\n' "$3" | head -n 20 | sed 's/^/      /'
    failed=$((failed + 1))
  fi
}

verdict_summary() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
