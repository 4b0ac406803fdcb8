#!/usr/bin/python3
# Configures Tarvo readers from Ansible through the installed command line
# with --json: --write to apply, --check in check mode. The passwords go to
# the command through its environment, never as arguments other users can read.

DOCUMENTATION = r'''
module: tarvo_reader
short_description: Configure Tarvo readers from a configuration file
description:
  - Saves a configuration file (*.tcfg) to one or more readers with C(tarvo-config --write --json).
    A reader that already holds every value of the file is left alone and reported unchanged.
  - In check mode runs C(tarvo-config --check) instead, which writes nothing and needs no password,
    and reports changed for the readers that differ.
  - With --diff shows, for each reader, the settings the file changes (the Wi-Fi password and an
    address's credentials masked).
options:
  config: {description: The configuration file., type: path, required: true}
  device: {description: A reader (host:port, a range, tcp:HOST:PORT, serial:PATH) or a list of them.,
           type: list, elements: str, required: true}
  password: {description: The readers' configuration password (16 characters)., type: str, no_log: true}
  new_password: {description: A new configuration password for the readers; always a change., type: str, no_log: true}
  place: {description: Where the readers are, for the record of saves., type: str}
  set:
    description:
      - Values for keys of the configuration text (such as devnum, ip, port, brightness) in place of the
        file's, for these readers only; each is passed as C(--set KEY=VALUE), and the command refuses an
        unknown key or a value the form would refuse before anything is written.
      - The values are arguments, which other users can read, so they are no secrets; C(psk) and a
        C(haddr) with credentials are refused. Keep those in the configuration file, as the passwords
        are kept in I(password) and I(new_password).
    type: dict
  jobs: {description: The most readers written at once (1 to 64)., type: int}
  force: {description: Write readers that hold the configuration already., type: bool, default: false}
  executable: {description: The command to run., type: str, default: tarvo-config}
'''

EXAMPLES = r'''
- name: Configure the east gate's readers
  tarvo_reader:
    config: /etc/tarvo/east-gate.tcfg
    device: [10.0.5.10-14:47811]
    password: "{{ vault_tarvo_password }}"
    place: east gate

- name: Give each reader its own device number (a host variable)
  tarvo_reader:
    config: /etc/tarvo/east-gate.tcfg
    device: "{{ reader_link }}"
    password: "{{ vault_tarvo_password }}"
    set: {devnum: "{{ reader_devnum }}"}
'''

import json
import re

from ansible.module_utils.basic import AnsibleModule


def readers_of(output):
    readers = []
    for line in output.splitlines():
        line = line.strip()
        if line:
            readers.append(json.loads(line))
    return readers


def diff_of(reader):
    changes = reader.get('changes') or []
    before = ''.join('%s (%s): %s\n' % (c['key'], c['setting'], '' if c['reader'] is None else c['reader'])
                     for c in changes)
    after = ''.join('%s (%s): %s\n' % (c['key'], c['setting'], c['file']) for c in changes)
    return {'before_header': reader['link'], 'after_header': reader['link'], 'before': before, 'after': after}


# What the command masks as a secret, and refuses in --set: the Wi-Fi
# password, and an address with a password before its host or a query
# parameter named like a password or a token.
CREDENTIALS = re.compile(r'^(?:[a-z][a-z0-9+.-]*://)?[^/?#@]*:[^/?#@]*@|[?&][^=&#]*(?:pass|pwd|token|secret|auth|key)',
                         re.IGNORECASE)


def secret_set(settings):
    for key, value in settings.items():
        if key == 'psk' or (key == 'haddr' and CREDENTIALS.search(str(value))):
            return key
    return None


def command(module):
    params = module.params
    arguments = [params['executable'], '--check' if module.check_mode else '--write', params['config'], '--json']
    for device in params['device']:
        arguments += ['--device', device]
    if params['jobs'] is not None:
        arguments += ['--jobs', str(params['jobs'])]
    if params['place']:
        arguments += ['--place', params['place']]
    for key, value in (params['set'] or {}).items():
        arguments += ['--set', '%s=%s' % (key, value)]
    if params['force'] and not module.check_mode:
        arguments.append('--force')
    environment = {}
    if params['password'] is not None:
        environment['TARVO_CONFIG_PASSWORD'] = params['password']
    if params['new_password'] is not None:
        environment['TARVO_NEW_PASSWORD'] = params['new_password']
    return arguments, environment


def main():
    module = AnsibleModule(
        argument_spec=dict(
            config=dict(type='path', required=True),
            device=dict(type='list', elements='str', required=True),
            password=dict(type='str', no_log=True),
            new_password=dict(type='str', no_log=True),
            place=dict(type='str'),
            set=dict(type='dict'),
            jobs=dict(type='int'),
            force=dict(type='bool', default=False),
            executable=dict(type='str', default='tarvo-config'),
        ),
        supports_check_mode=True,
    )
    secret = secret_set(module.params['set'] or {})
    if secret:
        module.fail_json(msg='set: %s holds a secret, which arguments would show to other users; keep it in the '
                             'configuration file (passwords go in password and new_password)' % secret, code='usage')
    arguments, environment = command(module)
    rc, out, err = module.run_command(arguments, environ_update=environment)
    if rc == 2:
        module.fail_json(msg=err.strip() or 'tarvo-config failed', rc=rc, code='usage')
    try:
        readers = readers_of(out)
    except ValueError:
        module.fail_json(msg='tarvo-config printed no JSON', rc=rc, stdout=out, stderr=err)
    # A new password is a change that no comparison shows.
    new_password = module.params['new_password'] is not None
    changing = ('differs', 'ok') + (('same',) if new_password else ())
    changed = [reader for reader in readers if reader['result'] in changing]
    failed = [reader for reader in readers if reader['result'] in ('failed', 'unknown')]
    # No rc in a success: Ansible takes a non-zero rc for a failure, and
    # --check exits with 1 for readers that differ.
    result = dict(changed=bool(changed), readers=readers)
    if module._diff:
        result['diff'] = [diff_of(reader) for reader in changed]
    if failed:
        first = failed[0]
        result.update(code=first.get('code'), cause=first.get('cause'),
                      msg='; '.join('%s: %s: %s' % (r['link'], r.get('code'), r.get('cause')) for r in failed))
        module.fail_json(rc=rc, **result)
    if rc != 0 and not readers:
        module.fail_json(msg=err.strip() or 'tarvo-config failed', rc=rc, **result)
    module.exit_json(**result)


if __name__ == '__main__':
    main()
