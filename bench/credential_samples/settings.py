from pathlib import Path

BASE_DIR = Path(__file__).resolve().parent.parent

SECRET_KEY = 'django-insecure-pwrn&jpg2sr$$hj^$*wxze_z9cp4$soqxb@f$2ytzvqun9d-mc'

DEBUG = False

DATABASES = {
    'default': {
        'ENGINE': 'django.db.backends.postgresql',
        'NAME': 'shop',
        'USER': 'shop',
        'PASSWORD': 'Dr9A3UyHdrwOpW',
        'HOST': 'db',
    }
}
