#!/bin/sh
# The Ansible module against three simulated readers on loopback: check mode
# reports changed and writes nothing, the apply writes, a second apply
# changes nothing, and a reader nobody answers for fails its task with its code.
# Then each reader as a host of its own, its device number a host variable
# given by set, and a secret in set refused.
# Usage: test_ansible.sh <program> <simulator> <configuration script> <module folder>
set -eu
program=$1 simulator=$2 script=$3 library=$4
command -v ansible-playbook >/dev/null || { echo "ansible-playbook missing (tools/install-deps.sh)"; exit 77; }
work=$(mktemp -d)
trap 'for pid in $(cat "$work"/*.pid 2>/dev/null); do kill "$pid" 2>/dev/null || true; done; rm -rf "$work"' EXIT

# The program runs in a folder with its configuration script, as the
# installed launcher starts it.
mkdir "$work/program"
cp "$script" "$work/program/update_config.lua"
cat > "$work/tarvo-config" <<WRAPPER
#!/bin/sh
cd "$work/program" && exec "$program" "\$@"
WRAPPER
chmod +x "$work/tarvo-config"
printf "ochannel=2,brightness=201,prefix='east'\n" > "$work/gate.tcfg"

ports=""
: > "$work/hosts"
for n in 1 2 3; do
  "$simulator" --port 0 --no-pty --state "$work/sim$n.json" > "$work/sim$n.log" 2>&1 &
  echo $! > "$work/sim$n.pid"
  for _ in $(seq 50); do grep -q '^ready' "$work/sim$n.log" && break; sleep 0.1; done
  ports="$ports 127.0.0.1:$(sed -n 's/^tcp 127.0.0.1://p' "$work/sim$n.log")"
  echo "reader$n reader_link=${ports##* } reader_devnum=10$n" >> "$work/hosts"
done
printf '[all:vars]\nansible_connection=local\nansible_python_interpreter=/usr/bin/python3\n' >> "$work/hosts"
devices=$(echo $ports | sed 's/ /", "/g')
refused=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')

cat > "$work/play.yml" <<PLAY
- hosts: localhost
  connection: local
  gather_facts: false
  vars:
    readers: ["$devices"]
    task_args: &reader
      config: $work/gate.tcfg
      executable: $work/tarvo-config
      password: "Tarvo#Factory#16"
  tasks:
    - name: check mode
      tarvo_reader: {<<: *reader, device: "{{ readers }}"}
      check_mode: true
      diff: true
      register: checked
    - name: apply
      tarvo_reader: {<<: *reader, device: "{{ readers }}", place: "east gate"}
      register: applied
    - name: again
      tarvo_reader: {<<: *reader, device: "{{ readers }}"}
      register: again
    - name: a reader nobody answers for
      tarvo_reader: {<<: *reader, device: "127.0.0.1:$refused"}
      register: absent
      ignore_errors: true
    - assert:
        that:
          - checked.changed and checked.readers | map(attribute='result') | unique == ['differs']
          - checked.diff | length == 3 and 'brightness' in checked.diff[0].after
          - applied.changed and applied.readers | map(attribute='result') | unique == ['ok']
          - not again.changed and again.readers | map(attribute='result') | unique == ['unchanged']
          - absent.failed and absent.code == 'connection_refused'
- hosts: all
  gather_facts: false
  tasks:
    - name: each reader's own number
      tarvo_reader: {config: $work/gate.tcfg, executable: $work/tarvo-config, password: "Tarvo#Factory#16",
                     device: "{{ reader_link }}", set: {devnum: "{{ reader_devnum }}"}}
      register: numbered
    - name: a secret in set
      tarvo_reader: {config: $work/gate.tcfg, executable: $work/tarvo-config, device: "{{ reader_link }}",
                     set: {psk: "Wi-Fi secret"}}
      register: secret
      ignore_errors: true
    - assert:
        that:
          - numbered.changed and numbered.readers[0].changes | map(attribute='key') | list == ['devnum']
          - secret.failed and 'password' in secret.msg
PLAY
ANSIBLE_LIBRARY="$library" ANSIBLE_LOCALHOST_WARNING=false ANSIBLE_INVENTORY_UNPARSED_WARNING=false \
  XDG_DATA_HOME="$work/data" QT_QPA_PLATFORM=offscreen \
  ansible-playbook -i "$work/hosts" -e ansible_python_interpreter=/usr/bin/python3 "$work/play.yml" > "$work/play.log" 2>&1 ||
  { cat "$work/play.log"; exit 1; }
# Each simulator took the file once (check mode and the second run wrote
# nothing) and then its own number.
for n in 1 2 3; do
  applied=$(grep -c '^config applied' "$work/sim$n.log" || true)
  [ "$applied" = 2 ] || { echo "reader $n applied $applied configurations"; cat "$work/play.log"; exit 1; }
  grep -q ",devnum=10$n," "$work/sim$n.json" || { echo "reader $n holds no devnum=10$n"; exit 1; }
done
if grep -q 'Tarvo#Factory#16' "$work/play.log"; then echo "the password shows in the log"; exit 1; fi
echo "ok"
